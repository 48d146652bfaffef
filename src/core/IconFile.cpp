#include "IconFile.h"

#include "FileHelpers.h"
#include "IconReader.h"
#include "MainIconList.h"
#include "MessageText.h"
#include "Messages.h"
#include "Project.h"

#include <QFile>

namespace velkaro {

QString InvalidIconText()
{
    return ExpandEscapes(
        QStringLiteral("Die angegebene Icon-Datei ist anscheinend nicht gültig.\\nSie konnte nicht "
                       "geladen werden.\\n\\nBitte wählen Sie daher ein neues Icon."));
}

std::optional<IconPicture> LoadIconFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    IconPicture picture;
    picture.fileBytes = file.readAll();
    file.close();

    // Decode the bytes that were read, not the file again: what is shown and
    // what is kept are then certainly the same icon.
    picture.image = ReadIconPicture(picture.fileBytes);
    if (picture.image.isNull())
        return std::nullopt;
    return picture;
}

void VerifyIconFile(Project& project)
{
    // A path without a drive (a network path on Windows) is kept unloaded.
    const QString path = project.slot(Project::IconSlot);
    if (project.iconSource() != IconSource::OwnFile || !HoldsAbsolutePath(path))
        return;
    if (auto picture = LoadIconFile(path)) {
        project.setIcon(*picture);
        return;
    }
    ShowError(InvalidIconText());
    project.ClearSlot(Project::IconSlot);
}

void ChooseNoIcon(Project& project)
{
    project.ClearSlot(Project::IconSlot);
}

void ChooseDefaultIcon(Project& project)
{
    project.setIconSlot(IconSource::Launcher);
    project.setIcon(MainIconListPicture(2));
}

} // namespace velkaro

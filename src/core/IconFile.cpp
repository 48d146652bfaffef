#include "IconFile.h"

#include "FileHelpers.h"
#include "IconReader.h"
#include "MainIconList.h"
#include "MessageText.h"
#include "Messages.h"
#include "Project.h"
#include "Sentinels.h"

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
    const QString path = project.slot(Project::IconSlot);
    if (!HoldsAbsolutePath(path))
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
    project.setSlot(Project::IconSlot, DefaultIconText());
    project.setIcon(MainIconListPicture(2));
}

} // namespace velkaro

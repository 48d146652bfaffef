#include "IconFile.h"

#include "Dialogs.h"
#include "MainIconList.h"
#include "MessageText.h"
#include "Messages.h"
#include "PathChoosers.h"
#include "Project.h"
#include "Sentinels.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <algorithm>

namespace velkaro {

namespace {

// The colour depth an ICO entry had on disk; Qt hands every entry out as
// 32-bit, but keeps the original in this text key.
int OriginalDepth(const QImage& image)
{
    bool ok = false;
    const int depth = image.text(QStringLiteral("_q_icoOrigDepth")).toInt(&ok);
    return ok ? depth : image.depth();
}

bool IsBetterPicture(const QImage& candidate, const QImage& chosen)
{
    if (chosen.isNull())
        return true;
    const auto is32 = [](const QImage& image) { return image.size() == QSize(32, 32); };
    if (is32(candidate) != is32(chosen))
        return is32(candidate);
    const qint64 candidateArea = qint64(candidate.width()) * candidate.height();
    const qint64 chosenArea = qint64(chosen.width()) * chosen.height();
    if (candidateArea != chosenArea)
        return candidateArea > chosenArea;
    return OriginalDepth(candidate) > OriginalDepth(chosen);
}

QString InvalidIconText()
{
    return ExpandEscapes(
        QStringLiteral("Die angegebene Icon-Datei ist anscheinend nicht gültig.\\nSie konnte nicht "
                       "geladen werden.\\n\\nBitte wählen Sie daher ein neues Icon."));
}

} // namespace

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
    QBuffer buffer(&picture.fileBytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The header may claim far more pictures than the file holds (an ICO
    // directory counts up to 65535), and trying each one costs time. Every
    // picture takes some bytes of its own (an ICO entry 16, a GIF frame more
    // than 8), so no more are tried than the file has room for.
    constexpr qsizetype MinBytesPerPicture = 8;
    const qsizetype room = std::max<qsizetype>(1, picture.fileBytes.size() / MinBytesPerPicture);
    const int count = int(std::clamp<qsizetype>(reader.imageCount(), 1, room));
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (!image.isNull() && IsBetterPicture(image, picture.image))
            picture.image = image;
    }
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

void ChooseIconFile(Project& project, QWidget* owner)
{
    ChooseSlotPath(project, Project::IconSlot, owner);
    VerifyIconFile(project);
}

} // namespace velkaro

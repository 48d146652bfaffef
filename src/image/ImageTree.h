#pragma once

#include "IsoLibrary.h"

#include <QByteArray>
#include <QHash>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>
#include <sys/stat.h>

namespace velkaro::image {

// The image's tree, built from the folder on the disk: every file stands in
// it as a placeholder of its size (Placeholder.h). Names that Joliet changes
// and entries left out are noted for the reader.
class ImageTree
{
public:
    // `latest`: no file time after this (SOURCE_DATE_EPOCH).
    ImageTree(IsoImage* image, std::optional<qint64> latest, QStringList* notes);

    // Adds everything below the CD root; false, with a German message in
    // error(), when a folder cannot be read or an entry cannot be added.
    bool AddRoot(const QByteArray& rootPath, const struct stat& rootInfo);
    const QString& error() const { return m_error; }

private:
    bool AddFolder(IsoDir* parent, const QByteArray& path, const QString& shown);
    IsoNode* AddNode(IsoDir* parent, const QByteArray& name, const struct stat& info,
                     const QString& shownName);
    void SetTimes(IsoNode* node, const struct stat& info) const;

    IsoImage* m_image;
    std::optional<qint64> m_latest;
    QStringList* m_notes;
    QString m_error;
    QSet<QPair<dev_t, ino_t>> m_ancestors; // folders on the way down, against link loops
    // A file reached twice (through a link) is one file: its bytes once.
    QHash<QPair<dev_t, ino_t>, ino_t> m_serials;
};

} // namespace velkaro::image

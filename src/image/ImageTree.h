#pragma once

#include "DiscView.h"
#include "IsoLibrary.h"
#include "LocalSystem.h"
#include "Notes.h"

#include <QByteArray>
#include <QHash>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

namespace velkaro::image {

// The image's tree, built from the folder on the disk: every file stands in
// it as a placeholder of its size (Placeholder.h). Names that Joliet changes
// or Windows cannot use, entries left out and links to outside are noted for
// the reader.
class ImageTree
{
public:
    // `latest`: no file time after this (SOURCE_DATE_EPOCH).
    ImageTree(IsoImage* image, std::optional<qint64> latest, Notes* notes);

    // Adds everything below the CD root (`rootPath` with links resolved);
    // false, with a German message in error(), when a folder cannot be read
    // or an entry cannot be added.
    bool AddRoot(const QByteArray& rootPath, const LocalInfo& rootInfo);
    const QString& error() const { return m_error; }

private:
    // A folder on the way down.
    struct Folder
    {
        QByteArray path;        // on the disk
        QString shown;          // for messages: empty for the root, else "a/b/"
        int jolietLength = 0;   // of its path on the disc after "D:\"
        bool inside = true;     // not reached through a link to outside the CD root
        bool longNoted = false; // its path is noted as too long for Windows
    };

    bool AddFolder(IsoDir* parent, const Folder& folder);
    // Notes what the entry's place in the tree means for Windows; gives the
    // entry as a folder to go down into (path and shown only for a folder).
    Folder NoteEntry(const Folder& folder, const LocalEntry& entry, const DiscEntry& joliet,
                     const QString& shownName);
    IsoNode* AddNode(IsoDir* parent, const QByteArray& name, const LocalInfo& info,
                     const QString& shownName);
    void SetTimes(IsoNode* node, const LocalInfo& info) const;

    IsoImage* m_image;
    std::optional<qint64> m_latest;
    Notes* m_notes;
    QByteArray m_root;
    QString m_error;
    QSet<FileId> m_ancestors; // folders on the way down, against link loops
    // A file reached twice (through a link) is one file: its bytes once.
    QHash<FileId, ino_t> m_serials;
};

} // namespace velkaro::image

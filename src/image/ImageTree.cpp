#include "ImageTree.h"

#include "DiscVocabulary.h"
#include "JolietNames.h"
#include "MessageText.h"
#include "Placeholder.h"

namespace velkaro::image {

ImageTree::ImageTree(IsoImage* image, std::optional<qint64> latest, Notes* notes)
    : m_image(image), m_latest(latest), m_notes(notes)
{
}

bool ImageTree::AddRoot(const QByteArray& rootPath, const LocalInfo& rootInfo)
{
    IsoDir* root = iso_image_get_root(m_image);
    SetTimes(reinterpret_cast<IsoNode*>(root), rootInfo);
    m_ancestors.insert(rootInfo.id);
    m_root = rootPath;
    return AddFolder(root, Folder{rootPath, QString()});
}

void ImageTree::SetTimes(IsoNode* node, const LocalInfo& info) const
{
    // Access and change times change when nobody touches the content;
    // the image carries the modification time in all three.
    time_t t = static_cast<time_t>(info.modified);
    if (m_latest && t > *m_latest)
        t = static_cast<time_t>(*m_latest);
    iso_node_set_mtime(node, t);
    iso_node_set_atime(node, t);
    iso_node_set_ctime(node, t);
}

bool ImageTree::AddFolder(IsoDir* parent, const Folder& folder)
{
    const LocalListing listing = ListLocalFolder(folder.path);
    if (listing.error != 0) {
        m_error = QStringLiteral("Der Ordner %1 lässt sich nicht lesen: %2.")
                      .arg(Quoted(ShownName(LocalName(folder.path))),
                           SystemErrorText(listing.error, LocalPathText(folder.path)));
        return false;
    }
    for (const QByteArray& name : listing.leftOut)
        m_notes->Add(Notes::Kind::LeftOut,
                     QStringLiteral("%1 bleibt draußen: weder eine Datei noch ein Ordner "
                                    "(etwa ein Verweis ohne Ziel).")
                         .arg(Quoted(folder.shown + ShownName(LocalName(name)))));

    QList<std::pair<QString, bool>> names;
    for (const LocalEntry& entry : listing.entries)
        names.append({LocalName(entry.name), entry.info.folder});
    const QList<DiscEntry> joliet = PredictJolietNames(names);
    NoteWindowsNames(joliet, folder.shown, m_notes);

    for (qsizetype i = 0; i < listing.entries.size(); ++i) {
        const LocalEntry& entry = listing.entries.at(i);
        const QString shownName = folder.shown + ShownName(joliet.at(i).original);
        const bool isFolder = entry.info.folder;
        const FileId id = entry.info.id;
        if (isFolder && m_ancestors.contains(id)) {
            m_notes->Add(Notes::Kind::LeftOut,
                         QStringLiteral("%1 bleibt draußen: ein Verweis auf einen Ordner "
                                        "darüber.")
                             .arg(Quoted(shownName)));
            continue;
        }
        if (!joliet.at(i).change.isEmpty())
            m_notes->Add(Notes::Kind::JolietChange,
                         QStringLiteral("%1: %2.").arg(Quoted(shownName), joliet.at(i).change));
        const Folder below = NoteEntry(folder, entry, joliet.at(i), shownName);

        IsoNode* node = AddNode(parent, entry.name, entry.info, shownName);
        if (!node)
            return false;
        if (isFolder) {
            m_ancestors.insert(id);
            const bool ok = AddFolder(reinterpret_cast<IsoDir*>(node), below);
            m_ancestors.remove(id);
            if (!ok)
                return false;
        }
    }
    return true;
}

ImageTree::Folder ImageTree::NoteEntry(const Folder& folder, const LocalEntry& entry,
                                       const DiscEntry& joliet, const QString& shownName)
{
    Folder below{QByteArray(), QString(), folder.jolietLength, folder.inside, folder.longNoted};
    if (entry.link || joliet.folder)
        below.path = folder.path + '/' + entry.name;
    if (joliet.folder)
        below.shown = shownName + QLatin1Char('/');

    // The bytes of a link to outside the CD root go onto the disc as well.
    if (entry.link && folder.inside) {
        const QByteArray target = ResolvedPath(below.path);
        if (!target.isEmpty() && target != m_root && !target.startsWith(m_root + '/')) {
            below.inside = false;
            m_notes->Add(Notes::Kind::LinkOutside,
                         QStringLiteral("%1 ist ein Verweis auf %2 außerhalb des "
                                        "CD-Hauptverzeichnisses; %3 kommt mit auf die CD.")
                             .arg(Quoted(shownName), Quoted(ShownName(LocalName(target))),
                                  joliet.folder ? QStringLiteral("dieser Ordner mit allem darin")
                                                : QStringLiteral("diese Datei")));
        }
    }

    // Windows sees the Joliet names; the numbered one is as long as the name.
    const QString onDisc =
        joliet.name.isEmpty() ? JolietName(joliet.original, joliet.folder) : joliet.name;
    below.jolietLength += (folder.jolietLength > 0 ? 1 : 0) + int(onDisc.size());
    if (!below.longNoted && below.jolietLength > WindowsPathLimit) {
        below.longNoted = true;
        m_notes->Add(Notes::Kind::LongPath,
                     QStringLiteral("%1: mit „D:\\“ hat der Pfad auf der CD %2 Zeichen; Windows "
                                    "öffnet nur Pfade bis %3 Zeichen, also %4.")
                         .arg(Quoted(shownName))
                         .arg(below.jolietLength + 3)
                         .arg(WindowsPathLimit + 3)
                         .arg(joliet.folder ? QStringLiteral("weder den Ordner noch etwas darin")
                                            : QStringLiteral("die Datei nicht")));
    }
    return below;
}

IsoNode* ImageTree::AddNode(IsoDir* parent, const QByteArray& name, const LocalInfo& info,
                            const QString& shownName)
{
    IsoNode* node = nullptr;
    int added = 0;
    if (info.folder) {
        IsoDir* dir = nullptr;
        added = iso_image_add_new_dir(m_image, parent, name.constData(), &dir);
        node = reinterpret_cast<IsoNode*>(dir);
    } else {
        const ino_t serial = m_serials.value(info.id, ino_t(m_serials.size() + 1));
        m_serials.insert(info.id, serial);
        IsoStream* stream = NewPlaceholder(off_t(info.size), serial);
        IsoFile* file = nullptr;
        added = stream ? iso_image_add_new_file(m_image, parent, name.constData(), stream, &file)
                       : ISO_OUT_OF_MEM;
        node = reinterpret_cast<IsoNode*>(file);
    }
    if (added < 0) {
        m_error = QStringLiteral("%1 lässt sich nicht ins Abbild aufnehmen (libisofs: %2).")
                      .arg(Quoted(shownName), LibraryText(added));
        return nullptr;
    }
    SetTimes(node, info);
    return node;
}

} // namespace velkaro::image

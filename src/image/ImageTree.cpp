#include "ImageTree.h"

#include "DiscView.h"
#include "DiscVocabulary.h"
#include "MessageText.h"
#include "Placeholder.h"

#include <QFile>

namespace velkaro::image {

ImageTree::ImageTree(IsoImage* image, std::optional<qint64> latest, QStringList* notes)
    : m_image(image), m_latest(latest), m_notes(notes)
{
}

bool ImageTree::AddRoot(const QByteArray& rootPath, const struct stat& rootInfo)
{
    IsoDir* root = iso_image_get_root(m_image);
    SetTimes(reinterpret_cast<IsoNode*>(root), rootInfo);
    m_ancestors.insert({rootInfo.st_dev, rootInfo.st_ino});
    return AddFolder(root, rootPath, QString());
}

void ImageTree::SetTimes(IsoNode* node, const struct stat& info) const
{
    // Access and change times change when nobody touches the content;
    // the image carries the modification time in all three.
    time_t t = info.st_mtime;
    if (m_latest && t > *m_latest)
        t = static_cast<time_t>(*m_latest);
    iso_node_set_mtime(node, t);
    iso_node_set_atime(node, t);
    iso_node_set_ctime(node, t);
}

bool ImageTree::AddFolder(IsoDir* parent, const QByteArray& path, const QString& shown)
{
    const LocalListing listing = ListLocalFolder(path);
    if (listing.error != 0) {
        m_error = QStringLiteral("Der Ordner %1 lässt sich nicht lesen: %2.")
                      .arg(Quoted(QFile::decodeName(path)),
                           SystemErrorText(listing.error, QFile::decodeName(path)));
        return false;
    }
    for (const QString& name : listing.leftOut)
        m_notes->append(QStringLiteral("%1 bleibt draußen: weder eine Datei noch ein Ordner "
                                       "(etwa ein Verweis ohne Ziel).")
                            .arg(Quoted(shown + name)));

    QList<std::pair<QString, bool>> names;
    for (const LocalEntry& entry : listing.entries)
        names.append({QFile::decodeName(entry.name), S_ISDIR(entry.info.st_mode)});
    const QList<DiscEntry> joliet = PredictJolietNames(names);

    for (qsizetype i = 0; i < listing.entries.size(); ++i) {
        const LocalEntry& entry = listing.entries.at(i);
        const QString shownName = shown + joliet.at(i).original;
        const bool folder = S_ISDIR(entry.info.st_mode);
        const QPair<dev_t, ino_t> id(entry.info.st_dev, entry.info.st_ino);
        if (folder && m_ancestors.contains(id)) {
            m_notes->append(QStringLiteral("%1 bleibt draußen: ein Verweis auf einen Ordner "
                                           "darüber.")
                                .arg(Quoted(shownName)));
            continue;
        }
        if (!joliet.at(i).change.isEmpty())
            m_notes->append(QStringLiteral("%1: %2.").arg(Quoted(shownName), joliet.at(i).change));

        IsoNode* node = AddNode(parent, entry.name, entry.info, shownName);
        if (!node)
            return false;
        if (folder) {
            m_ancestors.insert(id);
            const bool ok = AddFolder(reinterpret_cast<IsoDir*>(node), path + '/' + entry.name,
                                      shownName + QLatin1Char('/'));
            m_ancestors.remove(id);
            if (!ok)
                return false;
        }
    }
    return true;
}

IsoNode* ImageTree::AddNode(IsoDir* parent, const QByteArray& name, const struct stat& info,
                            const QString& shownName)
{
    IsoNode* node = nullptr;
    int added = 0;
    if (S_ISDIR(info.st_mode)) {
        IsoDir* dir = nullptr;
        added = iso_image_add_new_dir(m_image, parent, name.constData(), &dir);
        node = reinterpret_cast<IsoNode*>(dir);
    } else {
        const QPair<dev_t, ino_t> id(info.st_dev, info.st_ino);
        const ino_t serial = m_serials.value(id, ino_t(m_serials.size() + 1));
        m_serials.insert(id, serial);
        IsoStream* stream = NewPlaceholder(info.st_size, serial);
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

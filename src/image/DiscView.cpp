#include "DiscView.h"

#include "DiscVocabulary.h"
#include "JolietNames.h"
#include "LocalSystem.h"

#include <QFile>
#include <QHash>

namespace velkaro::image {

QList<DiscEntry> PredictJolietNames(const QList<std::pair<QString, bool>>& namesAndFolder)
{
    QList<DiscEntry> entries;
    QHash<QString, int> uses;
    for (const auto& [name, folder] : namesAndFolder) {
        DiscEntry entry{JolietName(name, folder), name, folder, {}};
        ++uses[entry.name];
        entries.append(entry);
    }
    for (DiscEntry& entry : entries) {
        const auto forbidden = ForbiddenJolietCharacter(entry.original);
        if (uses.value(entry.name) > 1) {
            entry.change = QStringLiteral("ein anderer Name im selben Ordner lautet in Joliet "
                                          "ebenso (%1), und jeder dieser Namen erhält eine Nummer")
                               .arg(Quoted(entry.name));
        } else if (entry.name == entry.original) {
            continue;
        } else if (HasForeignBytes(entry.original)) {
            entry.change = QStringLiteral("er enthält Bytes, die kein UTF-8 sind; Joliet schreibt "
                                          "für jedes „_“, und auf der CD hieße er %1")
                               .arg(Quoted(entry.name));
        } else if (forbidden) {
            entry.change = QStringLiteral("er enthält das Zeichen %1, das Joliet nicht erlaubt, "
                                          "und hieße auf der CD %2")
                               .arg(DescribeCharacter(*forbidden), Quoted(entry.name));
        } else {
            entry.change = QStringLiteral("er hat %1, Joliet erlaubt %2, und auf der CD hieße er "
                                          "%3")
                               .arg(JolietCountText(entry.original, entry.folder))
                               .arg(JolietNameLimit)
                               .arg(Quoted(entry.name));
        }
        if (uses.value(entry.name) > 1)
            entry.name.clear(); // the numbered name is not known here
    }
    return entries;
}

FolderView::FolderView(QString root) : m_root(std::move(root)) {}

QByteArray FolderView::PathOf(const QStringList& parts) const
{
    QByteArray path = LocalPath(m_root);
    for (const QString& part : parts)
        path += '/' + LocalBytes(part);
    return path;
}

std::optional<QList<DiscEntry>> FolderView::List(const QStringList& folder) const
{
    const LocalListing listing = ListLocalFolder(PathOf(folder));
    if (listing.error != 0)
        return std::nullopt;
    QList<std::pair<QString, bool>> names;
    for (const LocalEntry& entry : listing.entries)
        names.append({LocalName(entry.name), entry.info.folder});
    return PredictJolietNames(names);
}

std::optional<QByteArray> FolderView::Read(const QStringList& file) const
{
    QFile f(LocalPathText(PathOf(file)));
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.readAll();
}

} // namespace velkaro::image

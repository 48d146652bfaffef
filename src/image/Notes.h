#pragma once

#include "DiscView.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace velkaro::image {

// What the reader should know about a tree before it is burned: names that
// change on the disc or that Windows cannot use, things left out, links to
// outside. Nothing of it stops the image unless the caller wants it so.
class Notes
{
public:
    enum class Kind
    {
        LeftOut,
        JolietChange,
        WindowsName, // Windows cannot open it under its name on the disc
        SameName,    // Windows takes two names for one
        LongPath,
        LinkOutside,
    };

    void Add(Kind kind, const QString& text) { m_notes.append({kind, text}); }
    bool isEmpty() const { return m_notes.isEmpty(); }
    qsizetype size() const { return m_notes.size(); }

    // The lines to show, each after `prefix`: the first few of each kind in
    // the order they came, then for each kind how many more there are.
    QStringList Lines(const QString& prefix) const;

private:
    QList<std::pair<Kind, QString>> m_notes;
};

// Notes what Windows makes of the names of one folder beyond what Joliet
// changes (DiscEntry::change): a trailing dot or blank, a character Windows
// forbids, names that Windows takes for one. `shown` is the folder's path
// for messages, ending in "/" below the root.
void NoteWindowsNames(const QList<DiscEntry>& entries, const QString& shown, Notes* notes);

} // namespace velkaro::image

#include "Notes.h"

#include "DiscVocabulary.h"
#include "JolietNames.h"

#include <QHash>

namespace velkaro::image {

namespace {

// Of one kind, so many are shown one by one; the rest are counted.
constexpr qsizetype MostOfAKind = 5;

QString MoreText(Notes::Kind kind, qsizetype more)
{
    QString text;
    switch (kind) {
    case Notes::Kind::LeftOut:
        text = QStringLiteral("… und %1 weitere Einträge, die draußen bleiben.");
        break;
    case Notes::Kind::JolietChange:
        text = QStringLiteral("… und %1 weitere Namen, die Joliet ändert.");
        break;
    case Notes::Kind::WindowsName:
        text = QStringLiteral("… und %1 weitere Namen, unter denen Windows nichts öffnen kann.");
        break;
    case Notes::Kind::SameName:
        text = QStringLiteral("… und %1 weitere Namen, die Windows nicht auseinanderhält.");
        break;
    case Notes::Kind::LongPath:
        text = QStringLiteral("… und %1 weitere Pfade, die für Windows zu lang sind.");
        break;
    case Notes::Kind::LinkOutside:
        text = QStringLiteral("… und %1 weitere Verweise aus dem CD-Hauptverzeichnis hinaus.");
        break;
    }
    return text.arg(more);
}

// The name as Windows looks it up: without regard to case (letter by
// letter, as its table of capitals does), each letter composed.
QString WindowsKey(const QString& name)
{
    QString key = name.normalized(QString::NormalizationForm_C);
    for (QChar& c : key)
        c = c.toUpper(); // a surrogate stays as it is
    return key;
}

QString SameNameText(const QList<DiscEntry>& entries, const QList<qsizetype>& same,
                     const QString& shown)
{
    QStringList names;
    bool onlyCase = true;
    for (const qsizetype j : same) {
        names.append(Quoted(shown + ShownName(entries.at(j).original)));
        onlyCase = onlyCase && entries.at(j).name.compare(entries.at(same.first()).name,
                                                          Qt::CaseInsensitive) == 0;
    }
    const QString last = names.takeLast();
    return QStringLiteral("%1 und %2 sind für Windows derselbe Name (%3); es erreicht nur "
                          "einen davon.")
        .arg(names.join(QStringLiteral(", ")), last,
             onlyCase ? QStringLiteral("Groß- und Kleinschreibung zählen dort nicht")
                      : QStringLiteral("dieselben Zeichen, einmal zusammengesetzt, einmal "
                                       "zerlegt geschrieben, wie macOS es tut"));
}

} // namespace

QStringList Notes::Lines(const QString& prefix) const
{
    QHash<int, qsizetype> counts;
    QList<Kind> kinds; // in the order of their first note
    for (const auto& note : m_notes) {
        if (counts[int(note.first)]++ == 0)
            kinds.append(note.first);
    }
    QStringList lines;
    QHash<int, qsizetype> shown;
    for (const auto& [kind, text] : m_notes) {
        // One more is shown rather than counted.
        if (counts.value(int(kind)) <= MostOfAKind + 1 || shown[int(kind)]++ < MostOfAKind)
            lines.append(prefix + text);
    }
    for (const Kind kind : kinds) {
        if (counts.value(int(kind)) > MostOfAKind + 1)
            lines.append(prefix + MoreText(kind, counts.value(int(kind)) - MostOfAKind));
    }
    return lines;
}

void NoteWindowsNames(const QList<DiscEntry>& entries, const QString& shown, Notes* notes)
{
    QStringList keys;
    QHash<QString, QList<qsizetype>> byKey;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        keys.append(entries.at(i).name.isEmpty() ? QString() : WindowsKey(entries.at(i).name));
        if (!keys.last().isEmpty())
            byKey[keys.last()].append(i);
    }
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const DiscEntry& entry = entries.at(i);
        if (entry.name.isEmpty())
            continue; // the writer numbers it, and its own note says so
        const auto path = [&] { return Quoted(shown + ShownName(entry.original)); };
        const QString what =
            entry.folder ? QStringLiteral("den Ordner") : QStringLiteral("die Datei");
        const QString trimmed = WindowsTrimmed(entry.name);
        if (trimmed.size() != entry.name.size())
            notes->Add(Notes::Kind::WindowsName,
                       QStringLiteral("%1: Windows lässt Punkte und Leerzeichen am Ende eines "
                                      "Namens weg, sucht also %2 und kann %3 nicht öffnen.")
                           .arg(path(), Quoted(trimmed), what));
        else if (const auto forbidden = ForbiddenWindowsCharacter(entry.name))
            notes->Add(Notes::Kind::WindowsName,
                       QStringLiteral("%1: Windows erlaubt das Zeichen %2 in Namen nicht und kann "
                                      "%3 nicht öffnen.")
                           .arg(path(), DescribeCharacter(*forbidden), what));
        const QList<qsizetype>& same = byKey[keys.at(i)];
        if (same.size() > 1 && same.first() == i)
            notes->Add(Notes::Kind::SameName, SameNameText(entries, same, shown));
    }
}

} // namespace velkaro::image

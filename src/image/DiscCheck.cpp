#include "DiscCheck.h"

#include "DiscVocabulary.h"
#include "JolietNames.h"
#include "LauncherCommandLine.h"

#include <QRegularExpression>

namespace velkaro::image {

namespace {

// "D:\" + 256 characters + the closing NUL fill Windows' MAX_PATH of 260.
constexpr int PathLimit = 256;

bool SameName(const QString& onDisc, const QString& wanted)
{
    return WindowsTrimmed(onDisc).compare(wanted, Qt::CaseInsensitive) == 0;
}

struct Found
{
    QStringList path; // original names from the root
    bool folder = true;
    QString problem;
};

// Follows the path through the Joliet tree as Windows looks it up.
Found Resolve(const DiscView& disc, const QString& written, DiscReference::Role role)
{
    Found found;
    const bool file = role != DiscReference::Role::Argument;
    if (!JoinWithDiscRoot(L"D:\\", written.toStdWString())) {
        found.problem = QStringLiteral("Der Pfad führt aus der CD hinaus (ein Laufwerk, ein "
                                       "Doppelpunkt oder „..“).");
        return found;
    }
    QStringList parts;
    for (const QString& part : written.split(QRegularExpression(QStringLiteral("[\\\\/]")))) {
        const QString trimmed = WindowsTrimmed(part);
        if (!trimmed.isEmpty() && trimmed != QLatin1String("."))
            parts.append(trimmed);
    }
    const bool wantsFolder = written.endsWith(QLatin1Char('\\')) || written.endsWith('/');
    if (parts.isEmpty()) {
        if (file)
            found.problem = QStringLiteral("Das ist das Hauptverzeichnis der CD, keine Datei.");
        return found;
    }
    if (parts.join(QLatin1Char('\\')).size() + (wantsFolder ? 1 : 0) > PathLimit) {
        found.problem = QStringLiteral("Der Pfad ist länger als die %1 Zeichen, die Windows nach "
                                       "dem Laufwerksbuchstaben erlaubt.")
                            .arg(PathLimit);
        return found;
    }

    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString& part = parts.at(i);
        const bool last = i == parts.size() - 1;
        const auto listing = disc.List(found.path);
        if (!listing) {
            found.problem = QStringLiteral("Der Ordner %1 lässt sich nicht lesen.")
                                .arg(Quoted(found.path.join(QLatin1Char('\\'))));
            return found;
        }
        QList<DiscEntry> matches;
        const DiscEntry* changed = nullptr;
        for (const DiscEntry& entry : *listing) {
            if (SameName(entry.name, part))
                matches.append(entry);
            else if (!entry.change.isEmpty() && SameName(entry.original, part))
                changed = &entry;
        }
        if (matches.size() > 1) {
            QStringList names;
            for (const DiscEntry& m : matches)
                names.append(Quoted(m.name));
            found.problem = QStringLiteral("Auf der CD passen dazu mehrere Namen, die sich nur in "
                                           "der Groß- und Kleinschreibung unterscheiden (%1); "
                                           "Windows öffnet irgendeinen davon. Bitte benennen Sie "
                                           "alle bis auf einen um.")
                                .arg(names.join(QStringLiteral(", ")));
            return found;
        }
        if (matches.isEmpty()) {
            if (changed) {
                found.problem = QStringLiteral("Windows liest die CD über Joliet, und dort hätte "
                                               "%1 einen anderen Namen: %2. Bitte benennen Sie "
                                               "ihn um und passen Sie AutoRun.Inf an (OK in "
                                               "Velkaro).")
                                    .arg(Quoted(changed->original), changed->change);
            } else if (!last) {
                found.problem =
                    QStringLiteral("Den Ordner %1 gibt es auf der CD nicht.").arg(Quoted(part));
            } else {
                found.problem = wantsFolder
                                    ? QStringLiteral("Diesen Ordner gibt es auf der CD nicht.")
                                    : QStringLiteral("Diese Datei gibt es auf der CD nicht.");
            }
            return found;
        }
        const DiscEntry& match = matches.first();
        found.path.append(match.original);
        found.folder = match.folder;
        if (JolietLength(match.name) > JolietNameLimit) {
            found.problem = QStringLiteral("Der Name %1 ist %2 Zeichen lang; Joliet, das Windows "
                                           "liest, erlaubt %3. Bitte kürzen Sie ihn.")
                                .arg(Quoted(match.name))
                                .arg(JolietLength(match.name))
                                .arg(JolietNameLimit);
            return found;
        }
        if (!last && !match.folder) {
            found.problem = QStringLiteral("%1 ist auf der CD eine Datei, kein Ordner.")
                                .arg(Quoted(match.name));
            return found;
        }
    }
    if (wantsFolder && !found.folder)
        found.problem = QStringLiteral("Das ist auf der CD eine Datei, kein Ordner.");
    else if (file && found.folder)
        found.problem = QStringLiteral("Das ist auf der CD ein Ordner, keine Datei.");
    return found;
}

} // namespace

bool CheckResult::ok() const
{
    if (!general.isEmpty())
        return false;
    for (const CheckLine& line : lines) {
        if (!line.problem.isEmpty())
            return false;
    }
    return true;
}

CheckResult CheckDisc(const DiscView& disc)
{
    CheckResult result;
    const Found autorun = Resolve(disc, AutorunFileName(), DiscReference::Role::Program);
    if (!autorun.problem.isEmpty()) {
        result.general = QStringLiteral("AutoRun.Inf im Hauptverzeichnis der CD: %1 Ohne diese "
                                        "Datei startet die CD nicht von selbst; Velkaro legt sie "
                                        "mit OK an.")
                             .arg(autorun.problem);
        return result;
    }
    const auto bytes = disc.Read(autorun.path);
    if (!bytes) {
        result.general = QStringLiteral("AutoRun.Inf lässt sich nicht lesen.");
        return result;
    }
    const AutorunContent content = ReadAutorun(*bytes);
    if (!content.hasSection) {
        result.general = QStringLiteral("AutoRun.Inf hat keinen Abschnitt [autorun]; Windows "
                                        "startet die CD nicht von selbst.");
        return result;
    }
    if (!content.hasStart) {
        result.general = QStringLiteral("AutoRun.Inf nennt im Abschnitt [autorun] keinen "
                                        "Eintrag „open“; Windows startet beim Einlegen nichts.");
    }

    bool launcherNamed = false;
    for (const DiscReference& reference : content.references) {
        const Found found = Resolve(disc, reference.path, reference.role);
        result.lines.append({reference.entry, reference.path, found.problem});
        QString path = reference.path;
        while (path.startsWith(QLatin1Char('\\')))
            path.remove(0, 1);
        if (reference.role == DiscReference::Role::Program &&
            path.compare(LauncherFileName(), Qt::CaseInsensitive) == 0)
            launcherNamed = true;
    }
    if (!launcherNamed) {
        const Found launcher = Resolve(disc, LauncherFileName(), DiscReference::Role::Program);
        result.lines.append({QString(), LauncherFileName(), launcher.problem});
    }
    return result;
}

QString RefusalText(const CheckLine& line)
{
    if (line.entry.isEmpty())
        return QStringLiteral("Der Starter %1 im Hauptverzeichnis der CD: %2 Velkaro legt ihn "
                              "mit OK dorthin.")
            .arg(Quoted(line.path), line.problem);
    return QStringLiteral("Der Eintrag %1 in AutoRun.Inf nennt %2: %3")
        .arg(Quoted(line.entry), Quoted(line.path), line.problem);
}

QString ListingLine(const CheckLine& line)
{
    const QString what = line.entry.isEmpty() ? QStringLiteral("Starter") : line.entry;
    if (line.problem.isEmpty())
        return QStringLiteral("OK      %1: %2").arg(what, line.path);
    return QStringLiteral("FEHLER  %1: %2 – %3").arg(what, line.path, line.problem);
}

} // namespace velkaro::image

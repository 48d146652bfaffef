#include "DiscCheck.h"

#include "DiscVocabulary.h"
#include "JolietNames.h"
#include "LauncherCommandLine.h"

#include <QRegularExpression>
#include <optional>

namespace velkaro::image {

namespace {

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

// The parts of a path as AutoRun.Inf writes it, as Windows takes them
// apart; the problem when Windows would not look it up on the disc.
struct WrittenPath
{
    QStringList parts;
    bool wantsFolder = false; // a closing separator
    QString problem;
};

WrittenPath ReadWrittenPath(const QString& written, bool file)
{
    WrittenPath path;
    if (!JoinWithDiscRoot(L"D:\\", written.toStdWString())) {
        path.problem = QStringLiteral("Der Pfad führt aus der CD hinaus (ein Laufwerk, ein "
                                      "Doppelpunkt oder „..“).");
        return path;
    }
    for (const QString& part : written.split(QRegularExpression(QStringLiteral("[\\\\/]")))) {
        const QString trimmed = WindowsTrimmed(part);
        if (!trimmed.isEmpty() && trimmed != QLatin1String("."))
            path.parts.append(trimmed);
    }
    path.wantsFolder = written.endsWith(QLatin1Char('\\')) || written.endsWith('/');
    if (path.parts.isEmpty()) {
        if (file)
            path.problem = QStringLiteral("Das ist das Hauptverzeichnis der CD, keine Datei.");
        return path;
    }
    if (path.parts.join(QLatin1Char('\\')).size() + (path.wantsFolder ? 1 : 0) > WindowsPathLimit)
        path.problem = QStringLiteral("Der Pfad ist länger als die %1 Zeichen, die Windows nach "
                                      "dem Laufwerksbuchstaben erlaubt.")
                           .arg(WindowsPathLimit);
    return path;
}

// Why a part of the path was not found on the disc.
QString NotFoundText(const DiscEntry* changed, const QString& part, bool last, bool wantsFolder)
{
    if (changed)
        return QStringLiteral("Windows liest die CD über Joliet, und dort hätte "
                              "%1 einen anderen Namen: %2. Bitte benennen Sie "
                              "ihn um und passen Sie AutoRun.Inf an (OK in "
                              "Velkaro).")
            .arg(Quoted(changed->original), changed->change);
    if (!last)
        return QStringLiteral("Den Ordner %1 gibt es auf der CD nicht.").arg(Quoted(part));
    return wantsFolder ? QStringLiteral("Diesen Ordner gibt es auf der CD nicht.")
                       : QStringLiteral("Diese Datei gibt es auf der CD nicht.");
}

// The one entry of the listing that Windows opens for the part, or the
// problem in `*problem`.
std::optional<DiscEntry> MatchPart(const QList<DiscEntry>& listing, const QString& part, bool last,
                                   bool wantsFolder, QString* problem)
{
    QList<DiscEntry> matches;
    const DiscEntry* changed = nullptr;
    for (const DiscEntry& entry : listing) {
        if (SameName(entry.name, part))
            matches.append(entry);
        else if (!entry.change.isEmpty() && SameName(entry.original, part))
            changed = &entry;
    }
    if (matches.size() > 1) {
        QStringList names;
        for (const DiscEntry& m : matches)
            names.append(Quoted(m.name));
        *problem = QStringLiteral("Auf der CD passen dazu mehrere Namen, die sich nur in "
                                  "der Groß- und Kleinschreibung unterscheiden (%1); "
                                  "Windows öffnet irgendeinen davon. Bitte benennen Sie "
                                  "alle bis auf einen um.")
                       .arg(names.join(QStringLiteral(", ")));
        return std::nullopt;
    }
    if (matches.isEmpty()) {
        *problem = NotFoundText(changed, part, last, wantsFolder);
        return std::nullopt;
    }
    const DiscEntry& match = matches.first();
    if (JolietCount(match.name, match.folder) > JolietNameLimit) {
        *problem = QStringLiteral("Der Name %1 hat %2; Joliet, das Windows liest, erlaubt %3. "
                                  "Bitte kürzen Sie ihn.")
                       .arg(Quoted(match.name), JolietCountText(match.name, match.folder))
                       .arg(JolietNameLimit);
    } else if (WindowsTrimmed(match.name) != match.name) {
        *problem = QStringLiteral("Der Name %1 endet auf der CD mit einem Punkt oder "
                                  "Leerzeichen; Windows lässt es weg und findet ihn nicht. Bitte "
                                  "benennen Sie ihn um.")
                       .arg(Quoted(match.name));
    } else if (!last && !match.folder) {
        *problem =
            QStringLiteral("%1 ist auf der CD eine Datei, kein Ordner.").arg(Quoted(match.name));
    }
    return match;
}

// Follows the path through the Joliet tree as Windows looks it up.
Found Resolve(const DiscView& disc, const QString& written, DiscReference::Role role)
{
    Found found;
    const bool file = role != DiscReference::Role::Argument;
    const WrittenPath path = ReadWrittenPath(written, file);
    if (!path.problem.isEmpty() || path.parts.isEmpty()) {
        found.problem = path.problem;
        return found;
    }
    for (qsizetype i = 0; i < path.parts.size(); ++i) {
        const QString& part = path.parts.at(i);
        const bool last = i == path.parts.size() - 1;
        const auto listing = disc.List(found.path);
        if (!listing) {
            found.problem = QStringLiteral("Der Ordner %1 lässt sich nicht lesen.")
                                .arg(Quoted(found.path.join(QLatin1Char('\\'))));
            return found;
        }
        const auto match = MatchPart(*listing, part, last, path.wantsFolder, &found.problem);
        if (!match)
            return found;
        found.path.append(match->original);
        found.folder = match->folder;
        if (!found.problem.isEmpty())
            return found;
    }
    if (path.wantsFolder && !found.folder)
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

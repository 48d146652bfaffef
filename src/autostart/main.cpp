// velkaro-autostart: the OK command of the main window for scripts and
// build pipelines.

#include "AutostartCommand.h"
#include "BuildSettings.h"
#include "Companion.h"
#include "DiscVocabulary.h"

#include <QCoreApplication>
#include <QTimeZone>
#include <algorithm>

using namespace velkaro;
using namespace velkaro::autostart;
using namespace velkaro::companion;

namespace {

const char HelpText[] =
    "Aufruf: velkaro-autostart CD-HAUPTVERZEICHNIS --open PFAD [--folder]\n"
    "                          [--menu0 TEXT=PFAD] [--menu1 TEXT=PFAD] [--menu2 TEXT=PFAD]\n"
    "                          [--icon none|default|library:NAME|PFAD] [--print]\n"
    "        velkaro-autostart --list-icons\n"
    "\n"
    "Macht das CD-Hauptverzeichnis zu einer CD, die von selbst startet, genau wie\n"
    "OK im Fenster von Velkaro: Es schreibt AutoRun.Inf, kopiert den Starter\n"
    "Pirolo.Exe aus seinem eigenen Programmordner dazu und, für ein Icon aus der\n"
    "Bibliothek, AutoRun.Ico. Es fragt nichts; was das Fenster ablehnt, lehnt es\n"
    "mit demselben Text ab und schreibt dann nichts.\n"
    "\n"
    "Ein PFAD ist relativ zum CD-Hauptverzeichnis oder absolut und muss darin\n"
    "liegen.\n"
    "\n"
    "Optionen:\n"
    "      --open PFAD          das Dokument, das beim Einlegen der CD öffnet\n"
    "      --folder             --open nennt einen Ordner (auch das\n"
    "                           CD-Hauptverzeichnis selbst: --open .)\n"
    "      --menu0 TEXT=PFAD    ein Eintrag im Kontextmenü der CD: der Menütext,\n"
    "      --menu1 TEXT=PFAD    ein Gleichheitszeichen und das Dokument. Ohne TEXT\n"
    "      --menu2 TEXT=PFAD    (=PFAD) gilt der Dateiname bis zum ersten Punkt.\n"
    "      --icon ICON          das Icon der CD: none (keines, die Vorgabe), default\n"
    "                           (das Icon von Pirolo.Exe), library:NAME (ein Icon\n"
    "                           der Bibliothek, NAME oder Nummer wie --list-icons sie\n"
    "                           nennt) oder der PFAD einer Icon-Datei auf der CD\n"
    "      --print              schreibt nichts, sondern zeigt AutoRun.Inf, wie es\n"
    "                           geschrieben würde, und was kopiert würde\n"
    "      --list-icons         nennt die Icons der Bibliothek, eines je Zeile:\n"
    "                           Nummer und Name. Im Fenster zeigt die Bibliothek die\n"
    "                           Nummer unter jedem Icon und den Namen, wenn die Maus\n"
    "                           darauf steht.\n"
    "  -h, --help               zeigt diese Hilfe\n"
    "      --version            zeigt die Version\n"
    "\n"
    "Umgebung:\n"
    "  SOURCE_DATE_EPOCH  Sekunden seit 1970 (UTC): Datum und Jahr im Kopf von\n"
    "                     AutoRun.Inf. Dieselben Dateien und Angaben ergeben dann\n"
    "                     Byte für Byte dieselbe CD.\n"
    "\n"
    "Rückgabewert: 0, wenn alles geschrieben ist; 1, wenn eine Angabe abgelehnt wird\n"
    "oder das Schreiben misslingt; 2 bei falschem Aufruf.\n";

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    CommandLine line(QStringLiteral("velkaro-autostart"), QString::fromUtf8(HelpText),
                     QStringLiteral("velkaro-autostart (Velkaro 2005) ") +
                         QLatin1String(build::VersionString));
    line.AddValue({QStringLiteral("open")}, QStringLiteral("Nach %1 fehlt der Pfad."));
    line.AddSwitch({QStringLiteral("folder")});
    const QStringList menus{QStringLiteral("menu0"), QStringLiteral("menu1"),
                            QStringLiteral("menu2")};
    for (const QString& menu : menus)
        line.AddValue({menu}, QStringLiteral("Nach %1 fehlt TEXT=PFAD."));
    line.AddValue({QStringLiteral("icon")}, QStringLiteral("Nach %1 fehlt das Icon."));
    line.AddSwitch({QStringLiteral("print")});
    line.AddSwitch({QStringLiteral("list-icons")});
    if (const auto exit = line.Read(QCoreApplication::arguments()))
        return *exit;

    const QStringList options{
        QStringLiteral("open"), QStringLiteral("folder"), menus.at(0), menus.at(1), menus.at(2),
        QStringLiteral("icon"), QStringLiteral("print")};
    for (const QString& option : options) {
        if (line.Values(option).size() > 1)
            return line.WrongCallText(QStringLiteral("Die Option %1 steht mehr als einmal da.")
                                          .arg(Quoted(QStringLiteral("--") + option)));
    }
    const QStringList positional = line.Positional();
    if (line.IsSet(QStringLiteral("list-icons"))) {
        if (!positional.isEmpty() ||
            std::any_of(options.begin(), options.end(),
                        [&](const QString& option) { return line.IsSet(option); }))
            return line.WrongCallText(QStringLiteral("--list-icons nimmt nichts weiter."));
        for (const QString& icon : LibraryIconLines())
            Say(icon);
        return Exit::Done;
    }
    if (positional.size() != 1)
        return line.WrongCallText(
            positional.isEmpty() ? QStringLiteral("Bitte nennen Sie das CD-Hauptverzeichnis.")
                                 : QStringLiteral("Bitte nennen Sie nur ein CD-Hauptverzeichnis."));
    if (!line.IsSet(QStringLiteral("open")))
        return line.WrongCallText(QStringLiteral("Bitte nennen Sie mit --open, was beim Einlegen "
                                                 "der CD öffnen soll."));

    Choices choices;
    choices.cdRoot = positional.first();
    choices.open = line.Value(QStringLiteral("open"));
    choices.folder = line.IsSet(QStringLiteral("folder"));
    for (qsizetype row = 0; row < menus.size(); ++row) {
        if (!line.IsSet(menus.at(row)))
            continue;
        const QString value = line.Value(menus.at(row));
        const qsizetype equals = value.indexOf(QLatin1Char('='));
        if (equals < 0)
            return line.WrongCallText(
                QStringLiteral("Nach %1 fehlt TEXT=PFAD: %2.")
                    .arg(Quoted(QStringLiteral("--") + menus.at(row)), Quoted(value)));
        choices.menus.at(size_t(row)) = MenuChoice{value.left(equals), value.mid(equals + 1)};
    }
    if (line.IsSet(QStringLiteral("icon")))
        choices.icon = line.Value(QStringLiteral("icon"));
    choices.print = line.IsSet(QStringLiteral("print"));

    std::optional<qint64> epoch;
    if (const std::optional<int> wrong = line.ReadSourceDateEpoch(epoch))
        return *wrong;
    if (epoch)
        choices.moment = QDateTime::fromSecsSinceEpoch(*epoch, QTimeZone::utc());
    return RunAutostart(choices);
}

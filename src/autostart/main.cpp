// velkaro-autostart: the OK command of the main window for scripts and
// build pipelines.

#include "AutostartCommand.h"
#include "BuildSettings.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <QTimeZone>

using namespace velkaro;
using namespace velkaro::autostart;

namespace {

constexpr int ExitUsage = 2;

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

QTextStream& Out()
{
    static QTextStream stream(stdout);
    return stream;
}

int UsageError(const QString& text)
{
    QTextStream err(stderr);
    err << text << '\n' << QStringLiteral("Hilfe: velkaro-autostart --help") << '\n';
    return ExitUsage;
}

QString Quoted(const QString& text)
{
    return QStringLiteral("„") + text + QStringLiteral("“");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption open(QStringLiteral("open"), QString(), QStringLiteral("PFAD"));
    const QCommandLineOption folder(QStringLiteral("folder"));
    const QCommandLineOption menus[] = {
        {QStringLiteral("menu0"), QString(), QStringLiteral("TEXT=PFAD")},
        {QStringLiteral("menu1"), QString(), QStringLiteral("TEXT=PFAD")},
        {QStringLiteral("menu2"), QString(), QStringLiteral("TEXT=PFAD")}};
    const QCommandLineOption icon(QStringLiteral("icon"), QString(), QStringLiteral("ICON"));
    const QCommandLineOption print(QStringLiteral("print"));
    const QCommandLineOption listIcons(QStringLiteral("list-icons"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOptions(
        {open, folder, menus[0], menus[1], menus[2], icon, print, listIcons, help, version});

    if (!parser.parse(QCoreApplication::arguments())) {
        if (!parser.unknownOptionNames().isEmpty()) {
            const QString name = parser.unknownOptionNames().first();
            return UsageError(QStringLiteral("Unbekannte Option %1.")
                                  .arg(Quoted((name.size() == 1 ? "-" : "--") + name)));
        }
        return UsageError(QStringLiteral("Nach %1 fehlt der Wert.")
                              .arg(Quoted(QCoreApplication::arguments().last())));
    }
    if (parser.isSet(help)) {
        Out() << QString::fromUtf8(HelpText);
        return 0;
    }
    if (parser.isSet(version)) {
        Out() << QStringLiteral("velkaro-autostart (Velkaro 2005) ")
              << QLatin1String(build::VersionString) << '\n';
        return 0;
    }
    for (const QString& name : parser.optionNames()) {
        if (parser.optionNames().count(name) > 1)
            return UsageError(QStringLiteral("Die Option %1 steht mehr als einmal da.")
                                  .arg(Quoted(QStringLiteral("--") + name)));
    }
    const QStringList positional = parser.positionalArguments();
    if (parser.isSet(listIcons)) {
        if (parser.optionNames().size() > 1 || !positional.isEmpty())
            return UsageError(QStringLiteral("--list-icons nimmt nichts weiter."));
        ListIcons(Out());
        return 0;
    }

    Choices choices;
    if (positional.size() != 1)
        return UsageError(positional.isEmpty()
                              ? QStringLiteral("Bitte nennen Sie das CD-Hauptverzeichnis.")
                              : QStringLiteral("Bitte nennen Sie nur ein CD-Hauptverzeichnis."));
    choices.cdRoot = positional.first();
    if (!parser.isSet(open) || parser.value(open).isEmpty())
        return UsageError(QStringLiteral("Bitte nennen Sie mit --open, was beim Einlegen der CD "
                                         "öffnen soll."));
    choices.open = parser.value(open);
    choices.folder = parser.isSet(folder);
    for (size_t row = 0; row < std::size(menus); ++row) {
        if (!parser.isSet(menus[row]))
            continue;
        const QString value = parser.value(menus[row]);
        const qsizetype equals = value.indexOf(QLatin1Char('='));
        if (equals < 0)
            return UsageError(
                QStringLiteral("Nach %1 fehlt TEXT=PFAD: %2.")
                    .arg(Quoted(QStringLiteral("--") + menus[row].names().first()), Quoted(value)));
        choices.menus.at(row) = MenuChoice{value.left(equals), value.mid(equals + 1)};
    }
    if (parser.isSet(icon))
        choices.icon = parser.value(icon);
    choices.print = parser.isSet(print);

    const QByteArray epoch = qgetenv("SOURCE_DATE_EPOCH");
    if (!epoch.isEmpty()) {
        bool ok = false;
        const qint64 seconds = epoch.toLongLong(&ok);
        // The header's year has four digits.
        if (!ok || seconds < 0 || seconds > 253402300799LL || epoch.startsWith('+'))
            return UsageError(QStringLiteral("SOURCE_DATE_EPOCH ist keine Zahl von Sekunden seit "
                                             "1970: %1.")
                                  .arg(Quoted(QString::fromLocal8Bit(epoch))));
        choices.moment = QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc());
    }
    const int result = RunAutostart(choices, Out());
    Out().flush();
    return result;
}

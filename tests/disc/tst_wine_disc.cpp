// The disc as Windows starts it. Discs made by the OK command lie in a CD-ROM
// drive D: of a Wine prefix of the test's own (German locale, code page
// 1252); discshell.exe reads their AutoRun.Inf as the shell does and runs the
// entries; the launcher (the 64-bit test build, its messages recorded through
// its seam) opens the objects with recorder.exe, registered for documents
// and folders, which writes down the path it was given.
//
// Where Wine differs from Windows, the case says so. The recorder stands in
// for the documents' programs and for the file manager that opens folders
// (Wine looks up the class "Folder" for them, as Windows does).

#include "Autostart.h"
#include "IconChoice.h"
#include "LauncherTexts.h"
#include "Project.h"
#include "ScriptedMessages.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

using namespace velkaro;

namespace {

constexpr int SkipExitCode = 77;
constexpr int IconError = 0x10;       // MB_ICONERROR
constexpr int IconInformation = 0x40; // MB_ICONINFORMATION

// How Wine names a file of this machine: drive Z: is the root.
QString WindowsPath(const QString& hostPath)
{
    return QStringLiteral("Z:") + QString(hostPath).replace(QLatin1Char('/'), QLatin1Char('\\'));
}

QString Launcher(const QString& argument)
{
    return QStringLiteral("Pirolo.Exe \"") + argument + QLatin1Char('"');
}

QString Text(const std::wstring& text)
{
    return QString::fromStdWString(text);
}

// One message of the launcher as its seam records it.
QString Message(int icon, const std::wstring& text)
{
    return QString::number(icon) + QStringLiteral("\tPirolo\t") + Text(text);
}

struct Run
{
    bool finished = false;
    int exitCode = -1;
    QStringList recorded;
    QStringList messages;
};

Run ReadRun(const QJsonObject& object)
{
    Run run;
    run.finished = object.value("started").toBool() && object.value("finished").toBool();
    run.exitCode = object.value("exitCode").toInt(-1);
    for (const QJsonValue& value : object.value("recorded").toArray())
        run.recorded << value.toString();
    for (const QJsonValue& value : object.value("messages").toArray())
        run.messages << value.toString();
    return run;
}

} // namespace

class WineDiscTest : public QObject
{
    Q_OBJECT

public:
    ~WineDiscTest() override { StopWine(); }

private slots:
    void initTestCase();
    void cleanupTestCase();

    void driveIsAGermanCdRom();
    void entriesReadBackAsWritten();
    void entriesOpenTheirObjects_data();
    void entriesOpenTheirObjects();
    void launcherStartedFromAnotherFolder();
    void noArgumentShowsTheAboutBox();
    void refusals_data();
    void refusals();
    void iconsLoad_data();
    void iconsLoad();
    void folderTargetAndIconFileInASubfolder();
    void rootTargetWithTheLaunchersIcon();
    void commaInAnIconPathIsReadAsAnIconIndex();

private:
    QTemporaryDir m_tmp;
    QString m_prefix;
    QString m_cd; // the CD root, drive D:, with its closing "/"
    QProcessEnvironment m_env;
    bool m_serverRunning = false;
    bool m_documentDiscRun = false;
    QMap<QString, QJsonObject> m_documentDisc; // results by command name

    QString Cd(const QString& relative) const { return m_cd + relative; }
    bool Execute(const QString& program, const QStringList& arguments, int timeoutMs,
                 QString* output = nullptr);
    void StopWine();
    void WriteSetupRegistry(const QString& path);
    void MakeDisc(const std::function<void(Project&)>& choose);
    QMap<QString, QJsonObject> RunShell(const QList<std::pair<QString, QString>>& commands);
    const QMap<QString, QJsonObject>& DocumentDisc();
};

bool WineDiscTest::Execute(const QString& program, const QStringList& arguments, int timeoutMs,
                           QString* output)
{
    QProcess process;
    process.setProcessEnvironment(m_env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool ended = process.waitForFinished(timeoutMs);
    if (!ended)
        process.kill();
    process.waitForFinished();
    if (output)
        *output = program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')) +
                  QStringLiteral(": ") + QString::fromLocal8Bit(process.readAll());
    return ended && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

void WineDiscTest::StopWine()
{
    if (!m_serverRunning)
        return;
    m_serverRunning = false;
    Execute(QStringLiteral(VELKARO_WINESERVER), {QStringLiteral("-k")}, 30000);
    Execute(QStringLiteral(VELKARO_WINESERVER), {QStringLiteral("-w")}, 30000);
}

void WineDiscTest::WriteSetupRegistry(const QString& path)
{
    const QString recorder =
        WindowsPath(QStringLiteral(VELKARO_WINE_TEST_DIR "/windows/recorder.exe"));
    const auto quoted = [](QString text) {
        text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        text.replace(QLatin1Char('"'), QStringLiteral("\\\""));
        return QLatin1Char('"') + text + QLatin1Char('"');
    };
    const QString open = quoted(QLatin1Char('"') + recorder + QStringLiteral("\" \"%1\""));
    QStringList lines = {
        QStringLiteral("Windows Registry Editor Version 5.00"),
        // D: is a CD-ROM drive.
        QStringLiteral("[HKEY_LOCAL_MACHINE\\Software\\Wine\\Drives]"),
        QStringLiteral("\"d:\"=\"cdrom\""),
        // No display: no window is ever shown, and a crash ends the program
        // instead of waiting for an answer.
        QStringLiteral("[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]"),
        QStringLiteral("\"Graphics\"=\"null\""),
        QStringLiteral("[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]"),
        QStringLiteral("\"ShowCrashDialog\"=dword:00000000"),
        QStringLiteral("[HKEY_CLASSES_ROOT\\VelkaroTest.Dokument\\shell\\open\\command]"),
        QStringLiteral("@=") + open,
        // Folders: Wine's own verb talks DDE to its file manager first.
        QStringLiteral("[-HKEY_CLASSES_ROOT\\Folder\\shell\\open\\ddeexec]"),
        QStringLiteral("[HKEY_CLASSES_ROOT\\Folder\\shell\\open\\command]"),
        QStringLiteral("@=") + open,
    };
    for (const char* type : {".htm", ".txt", ".pdf"}) {
        lines << QStringLiteral("[HKEY_CLASSES_ROOT\\") + QLatin1String(type) + QLatin1Char(']')
              << QStringLiteral("@=\"VelkaroTest.Dokument\"");
    }
    // What regedit reads: UTF-16 with its byte order mark.
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    const QString text = lines.join(QStringLiteral("\r\n\r\n")) + QStringLiteral("\r\n");
    file.write("\xFF\xFE");
    file.write(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

void WineDiscTest::initTestCase()
{
    QVERIFY(m_tmp.isValid());
    m_prefix = m_tmp.filePath(QStringLiteral("prefix"));
    m_cd = m_tmp.filePath(QStringLiteral("cd")) + QLatin1Char('/');
    QVERIFY(QDir().mkpath(m_prefix));
    QVERIFY(QDir().mkpath(m_cd));
    QString output;

    // A German locale of the test's own: the machine may have none.
    const QString locales = m_tmp.filePath(QStringLiteral("locale"));
    QVERIFY(QDir().mkpath(locales));
    Execute(QStringLiteral(VELKARO_LOCALEDEF),
            {"-i", "de_DE", "-f", "UTF-8", locales + QStringLiteral("/de_DE.UTF-8")}, 60000,
            &output);
    QVERIFY2(QFileInfo::exists(locales + QStringLiteral("/de_DE.UTF-8/LC_CTYPE")),
             qPrintable(output));

    m_env = QProcessEnvironment::systemEnvironment();
    for (const char* name :
         {"DISPLAY", "WAYLAND_DISPLAY", "LANGUAGE", "WINEARCH", "WINESERVER", "WINELOADER"})
        m_env.remove(QLatin1String(name));
    m_env.insert("WINEPREFIX", m_prefix);
    m_env.insert("WINEDEBUG", "-all");
    // No installer of Mono or Gecko, no menu entries on this machine.
    m_env.insert("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d");
    m_env.insert("LOCPATH", locales);
    m_env.insert("LC_ALL", "de_DE.UTF-8");
    m_env.insert("LANG", "de_DE.UTF-8");

    m_serverRunning = true; // from here on something may need stopping
    QVERIFY2(Execute(QStringLiteral(VELKARO_WINEBOOT), {"-i"}, 300000, &output),
             qPrintable(output));
    const QString setup = m_tmp.filePath(QStringLiteral("setup.reg"));
    WriteSetupRegistry(setup);
    QVERIFY2(Execute(QStringLiteral(VELKARO_WINE), {"regedit", "/S", WindowsPath(setup)}, 120000,
                     &output),
             qPrintable(output));
    QVERIFY(QFile::link(m_tmp.filePath(QStringLiteral("cd")), m_prefix + "/dosdevices/d:"));
    // Wine learns the drive types when it starts: start it again, and keep
    // this one server for every case.
    StopWine();
    m_serverRunning = true;
    QVERIFY2(Execute(QStringLiteral(VELKARO_WINESERVER), {"-p60"}, 30000, &output),
             qPrintable(output));
}

void WineDiscTest::cleanupTestCase()
{
    StopWine();
}

void WineDiscTest::MakeDisc(const std::function<void(Project&)>& choose)
{
    QVERIFY(QDir(m_cd).removeRecursively());
    for (const char* file :
         {"start/index.htm", "doku/handbuch.pdf", "Übersicht mit Leerzeichen/Präsentation.txt",
          "preise/Preise 100%.pdf", "daten/messwerte.qqq", "datei.txt", "Bilder/urlaub.txt"}) {
        const QString path = Cd(QString::fromUtf8(file));
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile out(path);
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("Inhalt\r\n");
    }
    Project project;
    project.TakeCdRoot(m_tmp.filePath(QStringLiteral("cd")));
    choose(project);
    project.UpdateOkButton();
    QVERIFY(project.okEnabled());

    AutostartEnvironment env;
    env.programFolder = QStringLiteral(VELKARO_WINE_TEST_DIR "/launcher");
    // The question after the files are written: No, stay.
    test::ScriptedMessages messages;
    messages.setNextAnswer(MessageAnswer::No);
    QCOMPARE(WriteAutostart(project, env), AutostartOutcome::Completed);
}

QMap<QString, QJsonObject>
WineDiscTest::RunShell(const QList<std::pair<QString, QString>>& commands)
{
    const QString script = m_tmp.filePath(QStringLiteral("script.txt"));
    const QString report = m_tmp.filePath(QStringLiteral("report.json"));
    QFile::remove(report);
    {
        QFile file(script);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        for (const auto& command : commands)
            file.write(command.second.toUtf8() + "\n");
    }
    QString output;
    const bool ran = Execute(QStringLiteral(VELKARO_WINE),
                             {QStringLiteral(VELKARO_WINE_TEST_DIR "/windows/discshell.exe"),
                              WindowsPath(script), WindowsPath(report)},
                             300000, &output);
    QFile file(report);
    if (!ran || !file.open(QIODevice::ReadOnly)) {
        qWarning("%s", qPrintable(output));
        return {};
    }
    const QJsonArray results = QJsonDocument::fromJson(file.readAll()).array();
    QMap<QString, QJsonObject> byName;
    for (qsizetype i = 0; i < commands.size() && i < results.size(); ++i)
        byName.insert(commands.at(i).first, results.at(i).toObject());
    return byName;
}

// The disc of most cases: a document opens at the start, three context
// entries, a library icon. One run of the shell for all its cases.
const QMap<QString, QJsonObject>& WineDiscTest::DocumentDisc()
{
    if (m_documentDiscRun)
        return m_documentDisc;
    m_documentDiscRun = true;
    MakeDisc([this](Project& project) {
        project.AcceptSlotPath(1, Cd("start/index.htm"));
        project.setMenuText(0, QStringLiteral("Handbuch"));
        project.AcceptSlotPath(2, Cd("doku/handbuch.pdf"));
        project.setMenuText(1, QStringLiteral("Übersicht"));
        project.AcceptSlotPath(3, Cd("Übersicht mit Leerzeichen/Präsentation.txt"));
        project.setMenuText(2, QStringLiteral("Preise 2005"));
        project.AcceptSlotPath(4, Cd("preise/Preise 100%.pdf"));
        ApplyLibraryIcon(project, 7);
    });
    const QString inf = QStringLiteral("D:\\AutoRun.Inf");
    QList<std::pair<QString, QString>> commands = {
        {"probe", "probe\tD:\\"},
        {"values", "values\t" + inf},
        {"icon", "icon\t" + inf + "\tD:\\"},
        {"Pirolo.Exe icons", "icons\tD:\\Pirolo.Exe"},
        {"from C:\\windows", "run\tC:\\windows\tD:\\Pirolo.Exe \"start\\index.htm\""},
    };
    for (const char* key : {"open", "shell\\0\\command", "shell\\1\\command", "shell\\2\\command",
                            "shell\\qb\\command"})
        commands.append({QLatin1String(key), "entry\t" + inf + '\t' + key + "\tD:\\"});
    for (const char* argument : {"fehlt\\nirgends.txt", "..\\start\\index.htm",
                                 "C:\\windows\\win.ini", "datei.txt:strom", "daten\\messwerte.qqq"})
        commands.append(
            {QLatin1String(argument), "run\tD:\\\t" + Launcher(QString::fromLatin1(argument))});
    m_documentDisc = RunShell(commands);
    return m_documentDisc;
}

void WineDiscTest::driveIsAGermanCdRom()
{
    const QJsonObject probe = DocumentDisc().value("probe");
    QVERIFY2(!probe.isEmpty(), "discshell.exe gave no report");
    QCOMPARE(probe.value("acp").toInt(), 1252);
    QCOMPARE(probe.value("locale").toInt(), 0x0407); // German (Germany)
    QCOMPARE(probe.value("driveType").toInt(), 5);   // DRIVE_CDROM
}

void WineDiscTest::entriesReadBackAsWritten()
{
    // The profile reader drops quotation marks only around a whole value:
    // those around the paths in the command lines stay.
    const QJsonObject expected{
        {"open", R"(Pirolo.Exe "start\index.htm")"},
        {"icon", "AutoRun.Ico"},
        {"shell\\0", "&Handbuch"},
        {"shell\\0\\command", R"(Pirolo.Exe "doku\handbuch.pdf")"},
        {"shell\\1", "&Übersicht"},
        {"shell\\1\\command", R"(Pirolo.Exe "Übersicht mit Leerzeichen\Präsentation.txt")"},
        {"shell\\2", "&Preise 2005"},
        {"shell\\2\\command", R"(Pirolo.Exe "preise\Preise 100%.pdf")"},
        {"shell\\qb", "&Über Pirolo ..."},
        {"shell\\qb\\command", "Pirolo.Exe"},
    };
    QCOMPARE(DocumentDisc().value("values"), expected);
}

void WineDiscTest::entriesOpenTheirObjects_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("path");

    QTest::newRow("start") << "open"
                           << R"(D:\start\index.htm)";
    QTest::newRow("context 0") << R"(shell\0\command)"
                               << R"(D:\doku\handbuch.pdf)";
    QTest::newRow("context 1, umlauts and blanks")
        << R"(shell\1\command)"
        << R"(D:\Übersicht mit Leerzeichen\Präsentation.txt)";
    QTest::newRow("context 2, a percent sign") << R"(shell\2\command)"
                                               << R"(D:\preise\Preise 100%.pdf)";
}

void WineDiscTest::entriesOpenTheirObjects()
{
    QFETCH(QString, entry);
    QFETCH(QString, path);

    const Run run = ReadRun(DocumentDisc().value(entry));
    QVERIFY(run.finished);
    QCOMPARE(run.messages, QStringList());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.recorded, QStringList{path});
}

void WineDiscTest::launcherStartedFromAnotherFolder()
{
    const Run run = ReadRun(DocumentDisc().value("from C:\\windows"));
    QVERIFY(run.finished);
    QCOMPARE(run.messages, QStringList());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.recorded, QStringList{R"(D:\start\index.htm)"});
}

void WineDiscTest::noArgumentShowsTheAboutBox()
{
    const Run run = ReadRun(DocumentDisc().value("shell\\qb\\command"));
    QVERIFY(run.finished);
    QCOMPARE(run.messages, QStringList{Message(IconInformation, AboutText())});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.recorded, QStringList());
}

void WineDiscTest::refusals_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("exitCode");

    QTest::newRow("missing file") << R"(fehlt\nirgends.txt)"
                                  << Message(IconError,
                                             MissingObjectText(LR"(D:\fehlt\nirgends.txt)"))
                                  << 1;
    QTest::newRow("parent folder")
        << R"(..\start\index.htm)" << Message(IconError, NotOnDiscText(LR"(..\start\index.htm)"))
        << 2;
    QTest::newRow("drive letter") << R"(C:\windows\win.ini)"
                                  << Message(IconError, NotOnDiscText(LR"(C:\windows\win.ini)"))
                                  << 2;
    QTest::newRow("stream name") << "datei.txt:strom"
                                 << Message(IconError, NotOnDiscText(L"datei.txt:strom")) << 2;
    // Wine fails here with hInstApp 31 (no association) and the last error
    // 193 (not a program), where Windows sets 1155; hInstApp decides, so
    // both give 1155.
    QTest::newRow("no program for the document")
        << R"(daten\messwerte.qqq)"
        << Message(IconError, OpenFailedText(LR"(D:\daten\messwerte.qqq)", 1155, L"")) << 1;
}

void WineDiscTest::refusals()
{
    QFETCH(QString, argument);
    QFETCH(QString, message);
    QFETCH(int, exitCode);

    const Run run = ReadRun(DocumentDisc().value(argument));
    QVERIFY(run.finished);
    QCOMPARE(run.messages, QStringList{message});
    QCOMPARE(run.exitCode, exitCode);
    QCOMPARE(run.recorded, QStringList());
}

void WineDiscTest::iconsLoad_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("icon = AutoRun.Ico, the library icon") << "icon";
    QTest::newRow("the launcher's own icon") << "Pirolo.Exe icons";
}

void WineDiscTest::iconsLoad()
{
    QFETCH(QString, name);
    QJsonObject result = DocumentDisc().value(name);
    if (result.contains("icons")) {
        QCOMPARE(result.value("file").toString(), QStringLiteral("AutoRun.Ico"));
        QCOMPARE(result.value("index").toInt(), 0);
        result = result.value("icons").toObject();
    }
    QVERIFY(result.value("count").toInt() >= 1);
    QCOMPARE(result.value("large").toInt(), 32);
    QCOMPARE(result.value("small").toInt(), 16);
}

void WineDiscTest::folderTargetAndIconFileInASubfolder()
{
    MakeDisc([this](Project& project) {
        project.setTargetIsFolder(true);
        project.AcceptSlotPath(1, Cd("Bilder/"));
        QVERIFY(QDir().mkpath(Cd("icons")));
        QVERIFY(QFile::copy(QStringLiteral(VELKARO_DISC_ICO), Cd("icons/disc.ico")));
        project.AcceptSlotPath(5, Cd("icons/disc.ico"));
    });
    const QString inf = QStringLiteral("D:\\AutoRun.Inf");
    const auto results = RunShell({{"values", "values\t" + inf},
                                   {"open", "entry\t" + inf + "\topen\tD:\\"},
                                   {"icon", "icon\t" + inf + "\tD:\\"}});

    const QJsonObject values = results.value("values");
    QCOMPARE(values.value("open").toString(), QStringLiteral(R"(Pirolo.Exe "Bilder\")"));
    // Written "icons\disc.ico" with its quotation marks, read without them.
    QCOMPARE(values.value("icon").toString(), QStringLiteral(R"(icons\disc.ico)"));

    const Run run = ReadRun(results.value("open"));
    QVERIFY(run.finished);
    QCOMPARE(run.messages, QStringList());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.recorded, QStringList{R"(D:\Bilder\)"});

    const QJsonObject icon = results.value("icon");
    QCOMPARE(icon.value("file").toString(), QStringLiteral(R"(icons\disc.ico)"));
    QCOMPARE(icon.value("icons").toObject().value("large").toInt(), 32);
    QCOMPARE(icon.value("icons").toObject().value("small").toInt(), 16);
}

void WineDiscTest::rootTargetWithTheLaunchersIcon()
{
    MakeDisc([this](Project& project) {
        project.setTargetIsFolder(true);
        project.AcceptSlotPath(1, m_cd);
        project.setIconSlot(IconSource::Launcher);
    });
    const QString inf = QStringLiteral("D:\\AutoRun.Inf");
    const auto results = RunShell({{"values", "values\t" + inf},
                                   {"open", "entry\t" + inf + "\topen\tD:\\"},
                                   {"icon", "icon\t" + inf + "\tD:\\"}});

    QCOMPARE(results.value("values").value("open").toString(), QStringLiteral(R"(Pirolo.Exe "\")"));
    const Run run = ReadRun(results.value("open"));
    QVERIFY(run.finished);
    QCOMPARE(run.messages, QStringList());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.recorded, QStringList{R"(D:\)"});

    const QJsonObject icon = results.value("icon");
    QCOMPARE(icon.value("file").toString(), QStringLiteral("Pirolo.Exe"));
    QCOMPARE(icon.value("icons").toObject().value("large").toInt(), 32);
    QCOMPARE(icon.value("icons").toObject().value("small").toInt(), 16);
}

// Why the icon chooser refuses a comma: the shell reads the icon entry
// without its quotation marks and takes a comma for the start of an index.
void WineDiscTest::commaInAnIconPathIsReadAsAnIconIndex()
{
    MakeDisc([this](Project& project) {
        project.AcceptSlotPath(1, Cd("start/index.htm"));
        QVERIFY(QDir().mkpath(Cd("bilder,neu")));
        QVERIFY(QFile::copy(QStringLiteral(VELKARO_DISC_ICO), Cd("bilder,neu/disc.ico")));
        project.AcceptSlotPath(5, Cd("bilder,neu/disc.ico"));
    });
    const QJsonObject icon = RunShell({{"icon", "icon\tD:\\AutoRun.Inf\tD:\\"}}).value("icon");
    QCOMPARE(icon.value("value").toString(), QStringLiteral(R"(bilder,neu\disc.ico)"));
    QCOMPARE(icon.value("file").toString(), QStringLiteral("bilder"));
    QCOMPARE(icon.value("icons").toObject().value("large").toInt(), 0);
}

int main(int argc, char** argv)
{
    // Without Wine or the cross compiler this test cannot run: say why and
    // let CTest count it as skipped, never as passed.
    const QString reason = QStringLiteral(VELKARO_WINE_SKIP_REASON);
    if (!reason.isEmpty()) {
        std::printf("tst_wine_disc übersprungen, es fehlt: %s\n", qPrintable(reason));
        return SkipExitCode;
    }
    QApplication app(argc, argv);
    WineDiscTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_wine_disc.moc"

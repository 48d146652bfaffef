// velkaro-autostart from the outside: what it refuses and how, the library
// icons by name, --print, and the same bytes for the same call.

#include "AutostartProjects.h"

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace velkaro::test;

namespace {

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run RunAutostart(const QStringList& arguments, const QByteArray& epoch = "1765432109")
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("SOURCE_DATE_EPOCH", QString::fromLatin1(epoch));
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(VELKARO_AUTOSTART_PROGRAM), arguments);
    if (!process.waitForFinished(30000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Every file below root with its bytes and time.
QMap<QString, QString> Snapshot(const QString& root)
{
    QMap<QString, QString> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files[path] =
            ReadAll(path).toHex() + it.fileInfo().lastModified().toString(Qt::ISODateWithMs);
    }
    return files;
}

} // namespace

class AutostartCommandTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void refusals_data();
    void refusals();
    void wrongCalls_data();
    void wrongCalls();
    void libraryIconsByName();
    void printShowsWhatIsWritten_data();
    void printShowsWhatIsWritten();
    void exampleAsCommitted();

private:
    std::unique_ptr<QTemporaryDir> m_tmp;
    QString m_root;
};

void AutostartCommandTest::init()
{
    m_tmp = std::make_unique<QTemporaryDir>();
    m_root = m_tmp->filePath("CD");
    MakeAutostartTree(m_root);
    MakeFile(m_tmp->filePath("CD-alt/index.htm"));
    MakeFile(m_root + "/Was?.htm");
    WriteRaw(m_root + "/Bilder/a,b.ico", ReadAll(m_root + "/Bilder/Disc.ico"));
    WriteRaw(m_root + "/Bilder/Kaputt.ico", "kein Bild");
    // A disc made before: a refusal leaves it exactly as it was.
    WriteRaw(m_root + "/AutoRun.Inf", "[autorun]\r\nopen = Pirolo.Exe \"alt.htm\"\r\n");
    WriteRaw(m_root + "/Pirolo.Exe", "MZ alt");
}

void AutostartCommandTest::refusals_data()
{
    QTest::addColumn<QStringList>("arguments"); // %1: the temporary folder
    QTest::addColumn<QString>("message");       // how standard error begins
    const QStringList root{"%1/CD", "--open", ".", "--folder"};
    QTest::newRow("outside") << QStringList{"%1/CD", "--open", "../CD-alt/index.htm"}
                             << "Das von Ihnen angegebene Objekt liegt außerhalb des Pfades";
    QTest::newRow("document outside") << root + QStringList{"--menu0", "A=%1/CD-alt/index.htm"}
                                      << "Das von Ihnen angegebene Objekt liegt außerhalb";
    QTest::newRow("missing") << QStringList{"%1/CD", "--open", "fehlt.htm"}
                             << "„%1/CD/fehlt.htm“ gibt es nicht.";
    QTest::newRow("a folder as document")
        << QStringList{"%1/CD", "--open", "Bilder"}
        << "„%1/CD/Bilder“ ist ein Ordner; als Startobjekt nennen Sie ihn mit --folder.";
    QTest::newRow("a document as folder")
        << QStringList{"%1/CD", "--open", "start/index.htm", "--folder"}
        << "„%1/CD/start/index.htm“ ist kein Ordner.";
    QTest::newRow("unusable name") << QStringList{"%1/CD", "--open", "Was?.htm"}
                                   << "Der Name des von Ihnen angegebenen Objekts enthält ein "
                                      "Zeichen, das auf der CD nicht verwendet werden kann:\n\n"
                                      "    %1/CD/Was?.htm\n";
    QTest::newRow("comma in the icon's path")
        << root + QStringList{"--icon", "Bilder/a,b.ico"}
        << "Der Pfad der von Ihnen angegebenen Icon-Datei enthält ein Komma:";
    QTest::newRow("no icon in the icon file")
        << root + QStringList{"--icon", "Bilder/Kaputt.ico"}
        << "Die angegebene Icon-Datei ist anscheinend nicht gültig.\nSie konnte";
    QTest::newRow("half row") << root + QStringList{"--menu1", "Handbuch="}
                              << "Ihre Angaben unter Schritt (3) sind nicht eindeutig:";
    QTest::newRow("unknown library icon")
        << root + QStringList{"--icon", "library:512"}
        << "Ein Icon „512“ hat die Bibliothek nicht; velkaro-autostart --list-icons nennt alle.";
    QTest::newRow("no CD root") << QStringList{"%1/fehlt", "--open", "x"}
                                << "Das CD-Hauptverzeichnis „%1/fehlt“ gibt es nicht.";
}

void AutostartCommandTest::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    for (QString& argument : arguments)
        argument = argument.arg(m_tmp->path());
    const auto before = Snapshot(m_tmp->path());
    for (const QStringList& print : {QStringList{}, QStringList{"--print"}}) {
        const Run run = RunAutostart(arguments + print);
        QCOMPARE(run.exitCode, 1);
        QVERIFY2(run.err.startsWith(message.arg(m_tmp->path())), qPrintable(run.err));
        QCOMPARE(run.out, QString());
    }
    QCOMPARE(Snapshot(m_tmp->path()), before);
}

void AutostartCommandTest::wrongCalls_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("epoch");
    QTest::addColumn<QString>("message");
    QTest::newRow("no --open") << QStringList{"CD"} << QByteArray("0")
                               << "Bitte nennen Sie mit --open, was beim Einlegen der CD öffnen "
                                  "soll.";
    QTest::newRow("menu without =")
        << QStringList{"CD", "--open", ".", "--menu2", "Handbuch"} << QByteArray("0")
        << "Nach „--menu2“ fehlt TEXT=PFAD: „Handbuch“.";
    QTest::newRow("twice") << QStringList{"CD", "--open", "a", "--open", "b"} << QByteArray("0")
                           << "Die Option „--open“ steht mehr als einmal da.";
    QTest::newRow("bad SOURCE_DATE_EPOCH")
        << QStringList{"CD", "--open", "."} << QByteArray("gestern")
        << "SOURCE_DATE_EPOCH ist keine Zahl von Sekunden seit 1970: „gestern“.";
}

void AutostartCommandTest::wrongCalls()
{
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, epoch);
    QFETCH(QString, message);
    const Run run = RunAutostart(arguments, epoch);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(run.err, message + "\nHilfe: velkaro-autostart --help\n");
}

void AutostartCommandTest::libraryIconsByName()
{
    const Run list = RunAutostart({"--list-icons"});
    const QStringList lines = list.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 511);
    QVERIFY2(lines.at(199).startsWith("200 "), qPrintable(lines.at(199)));
    // Its name in any case, its number with or without zeros: one icon.
    for (const QString& icon : {lines.at(199).mid(4).toUpper(), QString("200"), QString("0200")}) {
        QFile::remove(m_root + "/AutoRun.Ico");
        const Run run =
            RunAutostart({m_root, "--open", ".", "--folder", "--icon", "library:" + icon});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(ReadAll(m_root + "/AutoRun.Ico"),
                 ReadAll(VELKARO_SOURCE_DIR "/resources/iconlib/200.ico"));
    }
}

void AutostartCommandTest::printShowsWhatIsWritten_data()
{
    QTest::addColumn<int>("index");
    const QList<AutostartProject> projects = AutostartProjects();
    for (int i = 0; i < projects.size(); ++i)
        QTest::newRow(projects.at(i).name) << i;
}

void AutostartCommandTest::printShowsWhatIsWritten()
{
    QFETCH(int, index);
    const QStringList arguments = AutostartArguments(m_root, AutostartProjects().at(index));
    QFile::remove(m_root + "/AutoRun.Inf");
    const Run print = RunAutostart(arguments + QStringList{"--print"});
    QCOMPARE(print.exitCode, 0);
    QVERIFY(!QFile::exists(m_root + "/AutoRun.Inf"));

    const Run write = RunAutostart(arguments);
    QCOMPARE(write.out, "Fertig: AutoRun.Inf in „" + m_root + "/“ geschrieben.\n");
    const QByteArray written = ReadAll(m_root + "/AutoRun.Inf");
    QString decoded;
    for (const char c : written)
        decoded += QChar(uchar(c)); // the table's texts need no byte of 0x80..0x9F
    decoded.replace("\r\n", "\n");
    QVERIFY2(print.out.startsWith(decoded), qPrintable(print.out));
    QVERIFY(print.out.mid(decoded.size()).startsWith("„" + m_root + "/Pirolo.Exe“ wird kopiert"));
    // 11 Dec 2025, 06:28:29 UTC, in the header's date and year.
    QVERIFY(written.contains("2005-2025\r\n"));
    QVERIFY(RunAutostart(arguments).exitCode == 0);
    QCOMPARE(ReadAll(m_root + "/AutoRun.Inf"), written);
}

// The example's bytes, which the Windows build under Wine must write too
// (tests/windows/autostart-example.sh); the date line is the locale's.
void AutostartCommandTest::exampleAsCommitted()
{
    QCOMPARE(RunAutostart(AutostartArguments(m_root, AutostartProjects().at(0))).exitCode, 0);
    QList<QByteArray> written = ReadAll(m_root + "/AutoRun.Inf").split('\n');
    QList<QByteArray> expected =
        ReadAll(VELKARO_SOURCE_DIR "/tests/autostart/example-AutoRun.Inf").split('\n');
    QVERIFY(written.size() > 2 && expected.size() > 2);
    written.removeAt(1);
    expected.removeAt(1);
    QCOMPARE(written, expected);
}

QTEST_MAIN(AutostartCommandTest)
#include "tst_autostart_command.moc"

// velkaro-image as a user runs it, every image read back with xorriso,
// genisoimage's isoinfo and libarchive's bsdtar: the names in the Joliet tree
// (Windows) and in Rock Ridge (Linux), the bytes of the files, AutoRun.Inf
// byte for byte, the label, and what it notes about names Windows cannot use.

#include "Autostart.h"
#include "ImageTestSupport.h"
#include "MainIconList.h"
#include "Project.h"
#include "ScriptedMessages.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <fcntl.h>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace velkaro;
using namespace velkaro::test;

namespace {

// Every path of a tree as isoinfo lists it ("-J" Joliet, "-R" Rock Ridge),
// without the version ";1" of the Joliet files.
QSet<QString> IsoinfoPaths(const QString& image, const QString& tree)
{
    // isoinfo writes Joliet names in a charset of its list, which has no UTF-8.
    const QStringList latin1 = tree == "-J" ? QStringList{"-j", "iso8859-1"} : QStringList{};
    const Run listing =
        RunTool(QStringLiteral(VELKARO_ISOINFO), QStringList{tree, "-l", "-i", image} + latin1);
    [&] { QVERIFY2(listing.exitCode == 0, listing.err.constData()); }();
    QSet<QString> paths;
    QString folder;
    static const QRegularExpression heading(QStringLiteral("^Directory listing of (.*)$"));
    static const QRegularExpression entry(QStringLiteral("^[-d]\\S+ .*\\]  (.*) $"));
    const QString text =
        tree == "-J" ? QString::fromLatin1(listing.out) : QString::fromUtf8(listing.out);
    for (const QString& line : text.split('\n')) {
        if (const auto m = heading.match(line); m.hasMatch()) {
            folder = m.captured(1);
        } else if (const auto m = entry.match(line); m.hasMatch()) {
            QString name = m.captured(1);
            if (name == "." || name == ".." || name.isEmpty() || name == QString(QChar(1)))
                continue;
            if (name.endsWith(";1"))
                name.chop(2);
            paths.insert(folder + name);
        }
    }
    return paths;
}

// The bytes of a file in the Joliet tree, extracted by isoinfo.
QByteArray JolietFile(const QString& image, const QString& path)
{
    return RunTool(QStringLiteral(VELKARO_ISOINFO), {"-J", "-i", image, "-x", path + ";1"}).out;
}

QString Field(const QString& text, const QString& name)
{
    const QRegularExpression line(QStringLiteral("^") + QRegularExpression::escape(name) +
                                      QStringLiteral("\\s*(.*)$"),
                                  QRegularExpression::MultilineOption);
    return line.match(text).captured(1).trimmed();
}

// The label as blkid reads it: from the Joliet descriptor where there is one.
QString BlkidLabel(const QString& image)
{
    if (QStringLiteral(VELKARO_BLKID).isEmpty())
        return QStringLiteral("<kein blkid>");
    const Run run = RunTool(QStringLiteral(VELKARO_BLKID), {"-p", "-o", "export", image});
    return Field(QString::fromUtf8(run.out), QStringLiteral("LABEL="));
}

// The paths of the Joliet tree as xorriso reads them.
QStringList XorrisoJoliet(const QString& image)
{
    const Run run = RunTool(QStringLiteral(VELKARO_XORRISO),
                            {"-read_fs", "norock", "-indev", image, "-find", "/"});
    QStringList paths;
    for (const QString& line : QString::fromUtf8(run.out).split('\n')) {
        if (line.size() > 3 && line.startsWith('\'') && line.endsWith('\''))
            paths.append(line.mid(1, line.size() - 2));
    }
    paths.sort();
    return paths;
}

// Makes entries below the root, named by their bytes: "a/" a folder,
// "a -> b" a link to b, anything else a file.
void MakeEntries(const QByteArray& root, const QList<QByteArray>& entries)
{
    for (const QByteArray& entry : entries) {
        const qsizetype arrow = entry.indexOf(" -> ");
        const QByteArray path = root + '/' + (arrow < 0 ? entry : entry.left(arrow));
        for (qsizetype slash = root.size() + 1; (slash = path.indexOf('/', slash)) > 0; ++slash)
            mkdir(path.left(slash).constData(), 0755);
        if (arrow >= 0) {
            QCOMPARE(symlink(entry.mid(arrow + 4).constData(), path.constData()), 0);
        } else if (!entry.endsWith('/')) {
            const int fd = open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            QVERIFY2(fd >= 0 && write(fd, "x", 1) == 1, path.constData());
            close(fd);
        }
    }
}

// Every file below a folder with its bytes, every folder with "/".
QMap<QString, QByteArray> Tree(const QString& root)
{
    QMap<QString, QByteArray> tree;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(root).relativeFilePath(path);
        if (it.fileInfo().isDir())
            tree.insert(relative + '/', QByteArray());
        else
            tree.insert(relative, ReadFile(path));
    }
    return tree;
}

} // namespace

class ImageReadBackTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void exampleDiscFromTheOkCommand();
    void treeReadsBack();
    void linksAreFollowed();
    void namesWindowsCannotUse_data();
    void namesWindowsCannotUse();
    void refusedDiscWritesNothing_data();
    void refusedDiscWritesNothing();
    void sameTreeSameBytes();
    void labelOption();
    void checkOfOtherImages();
    void twoGigabyteFile();
    void progressOnlyOnATerminal();
    void linksOnlyQtCore();

private:
    QTemporaryDir m_tmp;
    QString m_root;
    QString m_image;
};

void ImageReadBackTest::init()
{
    // rm, for QDir cannot name files whose names are no UTF-8.
    QCOMPARE(RunTool("rm", {"-rf", m_tmp.path()}).exitCode, 0);
    QVERIFY(QDir().mkpath(m_tmp.path()));
    m_root = m_tmp.filePath("CD");
    m_image = m_tmp.filePath("CD.iso");
}

void ImageReadBackTest::exampleDiscFromTheOkCommand()
{
    REQUIRE_READERS();
    // The usual example disc, written by Velkaro's own OK command.
    const QString root = m_tmp.filePath("Projekt CD");
    const QString program = m_tmp.filePath("Programm/");
    MakeFile(root + "/start/index.htm", "<html>Start</html>");
    MakeFile(root + "/doku/handbuch.pdf", "%PDF-1.4 Handbuch");
    MakeFile(program + "Pirolo.Exe", "MZ the launcher");
    std::optional<ScriptedMessages> messages(std::in_place);
    messages->setNextAnswer(MessageAnswer::No);
    Project project;
    project.TakeCdRoot(root);
    project.AcceptSlotPath(1, root + "/start/index.htm");
    project.setMenuText(0, QStringLiteral("Handbuch"));
    project.AcceptSlotPath(2, root + "/doku/handbuch.pdf");
    project.setIconSlot(IconSource::Library);
    project.setIcon({MainIconListPicture(2).image, QByteArray("ICON bytes")});
    project.UpdateOkButton();
    AutostartEnvironment env;
    env.programFolder = program;
    QCOMPARE(WriteAutostart(project, env), AutostartOutcome::Completed);
    messages.reset();

    const Run run = RunImage({root});
    QVERIFY2(run.exitCode == 0, run.err.constData());
    QVERIFY(run.err.isEmpty());
    QVERIFY2(run.out.contains("Bezeichnung der CD: PROJEKT_CD (aus „Projekt CD“"),
             run.out.constData());
    const QString image = m_tmp.filePath("Projekt CD.iso");
    QCOMPARE(Entries(m_tmp.path()), (QStringList{"Programm", "Projekt CD", "Projekt CD.iso"}));

    const QSet<QString> expected{"/AutoRun.Inf",       "/AutoRun.Ico", "/Pirolo.Exe",     "/doku",
                                 "/doku/handbuch.pdf", "/start",       "/start/index.htm"};
    QCOMPARE(IsoinfoPaths(image, "-J"), expected);
    QCOMPARE(IsoinfoPaths(image, "-R"), expected);
    for (const char* file :
         {"/AutoRun.Inf", "/AutoRun.Ico", "/Pirolo.Exe", "/doku/handbuch.pdf", "/start/index.htm"})
        QCOMPARE(JolietFile(image, file), ReadFile(root + file));
    QVERIFY(ReadFile(root + "/AutoRun.Inf").contains("shell\\0\\command = Pirolo.Exe"));

    const Run info = RunTool(QStringLiteral(VELKARO_ISOINFO), {"-d", "-i", image});
    QCOMPARE(Field(QString::fromUtf8(info.out), "Volume id:"), QStringLiteral("PROJEKT_CD"));
    QVERIFY(info.out.contains("Joliet with UCS level 3 found"));
    QVERIFY(info.out.contains("Rock Ridge signatures version 1 found"));
    QCOMPARE(BlkidLabel(image), QStringLiteral("PROJEKT_CD"));

    const Run xorriso =
        RunTool(QStringLiteral(VELKARO_XORRISO), {"-indev", image, "-find", "/", "-exec", "lsdl"});
    QVERIFY2(xorriso.out.contains("'/doku/handbuch.pdf'"), xorriso.out.constData());

    const Run check = RunImage({"--check", image});
    QCOMPARE(check.exitCode, 0);
    QVERIFY2(check.out.contains("OK      shell\\0\\command: doku\\handbuch.pdf\n"),
             check.out.constData());
    QCOMPARE(check.out.count("\nOK      "), 6);
}

void ImageReadBackTest::treeReadsBack()
{
    REQUIRE_READERS();
    // Deeper than the eight levels of ISO 9660.
    const QString deep = QStringLiteral("a/b/c/d/e/f/g/h/i/j/k/l");
    const QString long70 = QString(66, 'x') + ".txt";
    QByteArray random(300000, Qt::Uninitialized);
    QRandomGenerator(17).fillRange(reinterpret_cast<quint32*>(random.data()), random.size() / 4);
    // AutoRun.Inf holds Windows-1252: "Über uns\Größe und Maß.txt".
    MakeDisc(m_root, "open = Pirolo.Exe \"\xDC"
                     "ber uns\\Gr\xF6\xDF"
                     "e und Ma\xDF.txt\"\r\n"
                     "shell\\0\\command = Pirolo.Exe "
                     "\"a\\b\\c\\d\\e\\f\\g\\h\\i\\j\\k\\l\\tief.txt\"\r\n"
                     "shell\\1\\command = Pirolo.Exe \"leer\\\"\r\n");
    MakeFile(m_root + "/Über uns/Größe und Maß.txt", "Umlaute und Leerzeichen");
    MakeFile(m_root + '/' + deep + "/tief.txt", "zwölf Ordner tief");
    MakeFile(m_root + "/Daten/zufall.bin", random);
    MakeFile(m_root + "/Daten/.versteckt", "auch das");
    MakeFile(m_root + "/lang/" + long70, "lang");
    QVERIFY(QDir().mkpath(m_root + "/leer"));

    const Run run = RunImage({m_root});
    QVERIFY2(run.exitCode == 0, run.err.constData());
    // The long name is on the disc, shortened in Joliet; the note says how.
    const QString shortened = QString(61, 'x') + ".txt";
    QVERIFY2(QString::fromUtf8(run.err).contains("Hinweis: „lang/" + long70 +
                                                 "“: er hat 69 Zeichen ohne den Punkt vor der "
                                                 "Endung, Joliet erlaubt 64, und auf der CD "
                                                 "hieße er „" +
                                                 shortened + "“."),
             run.err.constData());

    // Rock Ridge: the tree exactly, as xorriso extracts it.
    const QString out = m_tmp.filePath("ausgepackt");
    const Run extract = RunTool(QStringLiteral(VELKARO_XORRISO),
                                {"-osirrox", "on", "-indev", m_image, "-extract", "/", out});
    QVERIFY2(extract.exitCode == 0, extract.err.constData());
    QCOMPARE(Tree(out), Tree(m_root));
    // bsdtar (libarchive, also the tar of Windows) reads the deep folders too.
    if (!QStringLiteral(VELKARO_BSDTAR).isEmpty()) {
        const QString bsdtarOut = m_tmp.filePath("bsdtar");
        QVERIFY(QDir().mkpath(bsdtarOut));
        const Run bsdtar =
            RunTool(QStringLiteral(VELKARO_BSDTAR), {"-xf", m_image, "-C", bsdtarOut});
        QVERIFY2(bsdtar.exitCode == 0, bsdtar.err.constData());
        QCOMPARE(Tree(bsdtarOut), Tree(m_root));
    }

    // Joliet, as xorriso extracts it and isoinfo lists it: the same names
    // and bytes but the shortened name.
    QMap<QString, QByteArray> joliet;
    const QMap<QString, QByteArray> source = Tree(m_root);
    for (auto it = source.cbegin(); it != source.cend(); ++it)
        joliet.insert(QString(it.key()).replace(long70, shortened), it.value());
    const QString jolietOut = m_tmp.filePath("joliet");
    const Run jolietExtract =
        RunTool(QStringLiteral(VELKARO_XORRISO), {"-read_fs", "norock", "-osirrox", "on", "-indev",
                                                  m_image, "-extract", "/", jolietOut});
    QVERIFY2(jolietExtract.exitCode == 0, jolietExtract.err.constData());
    QCOMPARE(Tree(jolietOut), joliet);
    QSet<QString> listed;
    for (QString path : joliet.keys()) {
        if (path.endsWith('/'))
            path.chop(1);
        listed.insert('/' + path);
    }
    QCOMPARE(IsoinfoPaths(m_image, "-J"), listed);
}

void ImageReadBackTest::linksAreFollowed()
{
    REQUIRE_READERS();
    // Joliet has no links: a linked file goes onto the disc as a file, a link
    // to a folder above or to nothing stays off it, with a note.
    MakeDisc(m_root, "open = Pirolo.Exe \"verweis.txt\"\r\n");
    MakeFile(m_root + "/Daten/a.txt", "das Ziel");
    QVERIFY(QFile::link("Daten/a.txt", m_root + "/verweis.txt"));
    QVERIFY(QFile::link("..", m_root + "/Daten/zurueck"));
    QVERIFY(QFile::link("nirgends", m_root + "/kaputt"));
    // Its bytes go onto the disc as well, which the note says.
    MakeFile(m_tmp.filePath("privat.txt"), "nicht für Fremde");
    QVERIFY(QFile::link(m_tmp.filePath("privat.txt"), m_root + "/Daten/privat.txt"));

    const Run run = RunImage({m_root});
    QVERIFY2(run.exitCode == 0, run.err.constData());
    QCOMPARE(QString::fromUtf8(run.err),
             QStringLiteral("Hinweis: „kaputt“ bleibt draußen: weder eine Datei noch ein Ordner "
                            "(etwa ein Verweis ohne Ziel).\n"
                            "Hinweis: „Daten/privat.txt“ ist ein Verweis auf „") +
                 m_tmp.filePath("privat.txt") +
                 QStringLiteral("“ außerhalb des CD-Hauptverzeichnisses; diese Datei kommt mit auf "
                                "die CD.\n"
                                "Hinweis: „Daten/zurueck“ bleibt draußen: ein Verweis auf einen "
                                "Ordner darüber.\n"));
    const QSet<QString> expected{"/AutoRun.Inf", "/Pirolo.Exe",       "/Daten",
                                 "/Daten/a.txt", "/Daten/privat.txt", "/verweis.txt"};
    QCOMPARE(IsoinfoPaths(m_image, "-J"), expected);
    QCOMPARE(IsoinfoPaths(m_image, "-R"), expected);
    QCOMPARE(JolietFile(m_image, "/verweis.txt"), QByteArray("das Ziel"));
}

void ImageReadBackTest::namesWindowsCannotUse_data()
{
    QTest::addColumn<QList<QByteArray>>("entries"); // below the root, see MakeEntries
    QTest::addColumn<QString>("notes");             // all of standard error
    QTest::addColumn<QStringList>("joliet");        // as xorriso reads them, beside the two files
    const QString dropped = QStringLiteral("Hinweis: „%1“: Windows lässt Punkte und Leerzeichen am "
                                           "Ende eines Namens weg, sucht also „%2“ und kann %3 "
                                           "nicht öffnen.\n");
    // xorriso, too, drops the dot of a file (written "Notiz.;1").
    QTest::newRow("a dot or blank at the end")
        << QList<QByteArray>{"Notiz.", "Ordner./x.txt", "Blank "}
        << dropped.arg("Blank ", "Blank", "die Datei") +
               dropped.arg("Notiz.", "Notiz", "die Datei") +
               dropped.arg("Ordner.", "Ordner", "den Ordner")
        << QStringList{"/Blank ", "/Notiz", "/Ordner.", "/Ordner./x.txt"};
    QStringList numbers;
    QList<QByteArray> dotted;
    for (int i = 1; i <= 8; ++i) {
        dotted.append(QByteArray::number(i) + '.');
        numbers.append('/' + QString::number(i));
    }
    QString many;
    for (int i = 1; i <= 5; ++i)
        many += dropped.arg(QString::number(i) + '.', QString::number(i), "die Datei");
    QTest::newRow("many of one kind, summed up")
        << dotted
        << many + "Hinweis: … und 3 weitere Namen, unter denen Windows nichts öffnen kann.\n"
        << numbers;
    const QString foreign = QStringLiteral("Hinweis: „%1“: er enthält Bytes, die kein UTF-8 sind; "
                                           "Joliet schreibt für jedes „_“, und auf der CD hieße er "
                                           "„%2“.\n");
    QTest::newRow("bytes that are no UTF-8")
        << QList<QByteArray>{"Bad\xFF\xFEName.txt", "Dir\xE4x/f.txt", "a\xE4\xB8x",
                             "c\xED\xA0\x80"
                             "d"}
        << foreign.arg("Bad\\xFF\\xFEName.txt", "Bad__Name.txt") +
               foreign.arg("Dir\\xE4x", "Dir_x") + foreign.arg("a\\xE4\\xB8x", "a__x") +
               foreign.arg("c\\xED\\xA0\\x80d", "c___d")
        << QStringList{"/Bad__Name.txt", "/Dir_x", "/Dir_x/f.txt", "/a__x", "/c___d"};
    const QString windows = QStringLiteral("Hinweis: „q%1q.txt“: Windows erlaubt das Zeichen „%1“ "
                                           "(U+%2) in Namen nicht und kann die Datei nicht "
                                           "öffnen.\n");
    QTest::newRow("characters Windows forbids, all alike")
        << QList<QByteArray>{"q\"q.txt", "q<q.txt", "q>q.txt", "q|q.txt", "Teil;1.txt", "a*b.txt"}
        << windows.arg("\"", "0022") + windows.arg("<", "003C") + windows.arg(">", "003E") +
               windows.arg("|", "007C") +
               "Hinweis: „Teil;1.txt“: er enthält das Zeichen „;“ (U+003B), das Joliet nicht "
               "erlaubt, und hieße auf der CD „Teil_1.txt“.\n"
               "Hinweis: „a*b.txt“: er enthält das Zeichen „*“ (U+002A), das Joliet nicht erlaubt, "
               "und hieße auf der CD „a_b.txt“.\n"
        << QStringList{"/Teil_1.txt", "/a_b.txt", "/q\"q.txt", "/q<q.txt", "/q>q.txt", "/q|q.txt"};
    const QString composed = QString::fromUtf8("M\xC3\xBCller.txt");
    const QString decomposed = QString::fromUtf8("Mu\xCC\x88ller.txt");
    QTest::newRow("names Windows takes for one")
        << QList<QByteArray>{"Readme.txt", "README.TXT", composed.toUtf8(), decomposed.toUtf8()}
        << "Hinweis: „" + decomposed + "“ und „" + composed +
               "“ sind für Windows derselbe Name (dieselben Zeichen, einmal zusammengesetzt, "
               "einmal zerlegt geschrieben, wie macOS es tut); es erreicht nur einen davon.\n"
               "Hinweis: „README.TXT“ und „Readme.txt“ sind für Windows derselbe Name (Groß- und "
               "Kleinschreibung zählen dort nicht); es erreicht nur einen davon.\n"
        << QStringList{'/' + composed, '/' + decomposed, "/README.TXT", "/Readme.txt"};
    // The writer's limit: 64 characters, the dot before a file's extension not counted.
    const auto n = [](char c, int count) { return QString(count, QLatin1Char(c)); };
    const QString longer =
        QStringLiteral("Hinweis: „%1“: er hat 65 Zeichen%2, Joliet erlaubt 64, und "
                       "auf der CD hieße er „%3“.\n");
    QTest::newRow("Joliet's limit around 64")
        << QList<QByteArray>{n('a', 64).toLatin1(),
                             n('b', 65).toLatin1(),
                             (n('c', 60) + ".txt").toLatin1(),
                             (n('d', 61) + ".txt").toLatin1(),
                             (n('e', 62) + ".txt").toLatin1(),
                             (n('f', 61) + ".dir/").toLatin1()}
        << longer.arg(n('b', 65), "", n('b', 64)) +
               longer.arg(n('e', 62) + ".txt", " ohne den Punkt vor der Endung",
                          n('e', 61) + ".txt") +
               longer.arg(n('f', 61) + ".dir", "", n('f', 61) + ".di")
        << QStringList{'/' + n('a', 64),          '/' + n('b', 64),
                       '/' + n('c', 60) + ".txt", '/' + n('d', 61) + ".txt",
                       '/' + n('e', 61) + ".txt", '/' + n('f', 61) + ".di"};
    // Nine folders of 29 characters: the ninth is beyond 256 after "D:\".
    QStringList deep;
    for (int i = 1; i <= 9; ++i)
        deep.append((deep.isEmpty() ? QString() : deep.last()) + '/' + n('p', 29));
    QTest::newRow("a path beyond Windows' limit")
        << QList<QByteArray>{(deep.last() + "/a.txt").mid(1).toLatin1()}
        << "Hinweis: „" + deep.last().mid(1) +
               "“: mit „D:\\“ hat der Pfad auf der CD 272 Zeichen; Windows öffnet nur Pfade bis "
               "259 Zeichen, also weder den Ordner noch etwas darin.\n"
        << deep + QStringList{deep.last() + "/a.txt"};
}

void ImageReadBackTest::namesWindowsCannotUse()
{
    REQUIRE_READERS();
    QFETCH(QList<QByteArray>, entries);
    QFETCH(QString, notes);
    QFETCH(QStringList, joliet);
    MakeDisc(m_root, "open = Pirolo.Exe\r\n");
    MakeEntries(QFile::encodeName(m_root), entries);

    const Run run = RunImage({m_root});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QString::fromUtf8(run.err), notes);
    QStringList expected = joliet + QStringList{"/AutoRun.Inf", "/Pirolo.Exe"};
    expected.sort();
    QCOMPARE(XorrisoJoliet(m_image), expected);

    // The check of the folder notes the same; with --strict each note is an
    // error and nothing is written.
    const Run check = RunImage({"--check", m_root});
    QCOMPARE(check.exitCode, 0);
    QCOMPARE(check.err, run.err);
    const Run strict = RunImage({m_root, "--strict", "-o", m_tmp.filePath("streng.iso")});
    QCOMPARE(strict.exitCode, 1);
    QVERIFY2(
        QString::fromUtf8(strict.err).startsWith(QString(notes).replace("Hinweis: ", "Fehler: ")),
        strict.err.constData());
    QVERIFY(strict.err.endsWith(" Hinweise.\nEs wurde kein Abbild geschrieben.\n") ||
            strict.err.endsWith(" 1 Hinweis.\nEs wurde kein Abbild geschrieben.\n"));
    QCOMPARE(Entries(m_tmp.path()), (QStringList{"CD", "CD.iso"}));
    QCOMPARE(RunImage({"--check", m_root, "--strict"}).exitCode, 1);
}

void ImageReadBackTest::refusedDiscWritesNothing_data()
{
    QTest::addColumn<QString>("file");    // made in the root
    QTest::addColumn<QString>("entry");   // the path that open names
    QTest::addColumn<bool>("deleteIt");   // the file is gone before the run
    QTest::addColumn<QString>("message"); // the reason, after the entry and path
    const QString long70 = QString(66, 'l') + ".htm";
    QTest::newRow("a 70-character name")
        << "start/" + long70 << "start\\" + long70 << false
        << QStringLiteral("Windows liest die CD über Joliet, und dort hätte „") + long70 +
               "“ einen anderen Namen: er hat 69 Zeichen ohne den Punkt vor der Endung";
    QTest::newRow("a deleted file")
        << "start/index.htm"
        << "start\\index.htm" << true << QStringLiteral("Diese Datei gibt es auf der CD nicht.");
}

void ImageReadBackTest::refusedDiscWritesNothing()
{
    QFETCH(QString, file);
    QFETCH(QString, entry);
    QFETCH(bool, deleteIt);
    QFETCH(QString, message);
    MakeDisc(m_root, "open = Pirolo.Exe \"" + entry.toLatin1() + "\"\r\n");
    MakeFile(m_root + '/' + file, "x");
    if (deleteIt)
        QVERIFY(QFile::remove(m_root + '/' + file));
    MakeFile(m_image, "das alte Abbild");

    const Run run = RunImage({m_root});
    QCOMPARE(run.exitCode, 1);
    const QString err = QString::fromUtf8(run.err);
    QVERIFY2(err.contains("Der Eintrag „open“ in AutoRun.Inf nennt „" + entry + "“: " + message),
             qPrintable(err));
    QVERIFY(err.endsWith("Es wurde kein Abbild geschrieben.\n"));
    QCOMPARE(ReadFile(m_image), QByteArray("das alte Abbild"));
    QCOMPARE(Entries(m_tmp.path()), (QStringList{"CD", "CD.iso"}));
}

void ImageReadBackTest::sameTreeSameBytes()
{
    MakeDisc(m_root, "open = Pirolo.Exe \"a.txt\"\r\n");
    MakeFile(m_root + "/a.txt", "eins");
    MakeFile(m_root + "/b/c.txt", "zwei");
    // Enough folders and files that the order of libisofs' memory would show
    // in the folders' serial numbers.
    for (const char folder : QByteArray("defghijk")) {
        QVERIFY(QDir().mkpath(m_root + "/b/" + folder));
        QVERIFY(QDir().mkpath(m_root + "/l/" + folder));
    }
    for (int i = 0; i < 500; ++i)
        MakeFile(m_root + "/b/" + QString::number(i), "");
    QProcessEnvironment env = ImageEnvironment();
    env.insert("SOURCE_DATE_EPOCH", "1765000000");
    const QString first = m_tmp.filePath("erstes.iso");
    QCOMPARE(RunImage({m_root, "-o", first}, env).exitCode, 0);

    // Read every file (access times) and make one newer than the epoch.
    ReadFile(m_root + "/a.txt");
    QFile newer(m_root + "/b/c.txt");
    QVERIFY(newer.open(QIODevice::ReadWrite));
    QVERIFY(newer.setFileTime(QDateTime::currentDateTimeUtc(), QFileDevice::FileModificationTime));
    newer.close();
    QTest::qSleep(1100); // the clock moves on between the runs
    const QString second = m_tmp.filePath("zweites.iso");
    QCOMPARE(RunImage({m_root, "-o", second}, env).exitCode, 0);
    const Run cmp = RunTool("cmp", {first, second});
    QVERIFY2(cmp.exitCode == 0, cmp.out.constData());
    // A copy of the tree elsewhere (other inodes, other order on the disk) too.
    const QString copy = m_tmp.filePath("Kopie/CD");
    QVERIFY(QDir().mkpath(copy));
    QCOMPARE(RunTool("cp", {"-r", m_root + "/b", m_root + "/l", m_root + "/Pirolo.Exe",
                            m_root + "/a.txt", m_root + "/AutoRun.Inf", copy})
                 .exitCode,
             0);
    const QString fourth = m_tmp.filePath("viertes.iso");
    QCOMPARE(RunImage({copy, "-o", fourth}, env).exitCode, 0);
    QVERIFY2(RunTool("cmp", {first, fourth}).exitCode == 0, "a copy of the tree, another image");

    // Without it, the volume carries the time of writing.
    const QString third = m_tmp.filePath("drittes.iso");
    QCOMPARE(RunImage({m_root, "-o", third}).exitCode, 0);
    QVERIFY(ReadFile(first) != ReadFile(third));
}

void ImageReadBackTest::labelOption()
{
    REQUIRE_READERS();
    MakeDisc(m_root, "open = Pirolo.Exe\r\n");
    const Run run = RunImage({m_root, "--label", "Übung 1: Sommer 2026"});
    QCOMPARE(run.exitCode, 0);
    QVERIFY2(run.out.startsWith("Bezeichnung der CD: UEBUNG_1__SOMMER (aus „Übung 1: Sommer 2026“; "
                                "erlaubt sind höchstens 16 Zeichen aus A-Z, 0-9 und _)\n"),
             run.out.constData());
    const Run info = RunTool(QStringLiteral(VELKARO_ISOINFO), {"-d", "-i", m_image});
    QCOMPARE(Field(QString::fromUtf8(info.out), "Volume id:"), QStringLiteral("UEBUNG_1__SOMMER"));
    QCOMPARE(BlkidLabel(m_image), QStringLiteral("UEBUNG_1__SOMMER"));
}

void ImageReadBackTest::checkOfOtherImages()
{
    REQUIRE_READERS();
    MakeDisc(m_root, "open = Pirolo.Exe \"start\\index.htm\"\r\nicon = AutoRun.Ico\r\n");
    MakeFile(m_root + "/AutoRun.Ico", "ICO");
    const Run folder = RunImage({"--check", m_root});
    QCOMPARE(folder.exitCode, 1);
    QCOMPARE(folder.out,
             QByteArray("OK      open: Pirolo.Exe\n"
                        "FEHLER  open: start\\index.htm – Den Ordner „start“ gibt es "
                        "auf der CD nicht.\n"
                        "OK      icon: AutoRun.Ico\n"
                        "1 Fehler: Diese CD startet unter Windows nicht wie geplant.\n"));

    // An image that xorriso made, read through its Joliet tree.
    MakeFile(m_root + "/start/index.htm", "start");
    const QString foreign = m_tmp.filePath("fremd.iso");
    QCOMPARE(RunTool(QStringLiteral(VELKARO_XORRISO),
                     {"-as", "mkisofs", "-J", "-R", "-quiet", "-o", foreign, m_root})
                 .exitCode,
             0);
    const Run good = RunImage({"--check", foreign});
    QVERIFY2(good.exitCode == 0, good.out.constData());
    QVERIFY(good.out.endsWith("In Ordnung: Windows findet alles, was AutoRun.Inf nennt.\n"));

    // Folders deeper than eight levels moved into the root for Rock Ridge
    // (libisofs' default): Windows reads Joliet, but bsdtar refuses all of it.
    MakeFile(m_root + "/1/2/3/4/5/6/7/8/9/tief.txt", "tief");
    const QString moved = m_tmp.filePath("verschoben.iso");
    QCOMPARE(RunTool(QStringLiteral(VELKARO_XORRISO),
                     {"-outdev", moved, "-joliet", "on", "-compliance", "deep_paths_off",
                      "-rr_reloc_dir", "", "-map", m_root, "/"})
                 .exitCode,
             0);
    const Run relocated = RunImage({"--check", moved});
    QCOMPARE(relocated.exitCode, 1);
    QVERIFY2(relocated.out.contains("FEHLER  Rock Ridge: Ordner, die tiefer als acht Ebenen "
                                    "liegen, sind ins Hauptverzeichnis verschoben") &&
                 relocated.out.endsWith("\n1 Fehler.\n"),
             relocated.out.constData());

    // Without Joliet, Windows sees only short upper-case names.
    const QString plain = m_tmp.filePath("ohne-joliet.iso");
    QCOMPARE(RunTool(QStringLiteral(VELKARO_XORRISO),
                     {"-as", "mkisofs", "-R", "-quiet", "-o", plain, m_root})
                 .exitCode,
             0);
    const Run noJoliet = RunImage({"--check", plain});
    QCOMPARE(noJoliet.exitCode, 1);
    QVERIFY2(noJoliet.err.contains("hat keinen Joliet-Baum"), noJoliet.err.constData());

    const Run garbage = RunImage({"--check", m_root + "/AutoRun.Ico"});
    QCOMPARE(garbage.exitCode, 1);
    QVERIFY2(garbage.err.contains("ist kein lesbares CD-Abbild"), garbage.err.constData());
}

void ImageReadBackTest::twoGigabyteFile()
{
    REQUIRE_READERS();
    if (qEnvironmentVariableIntValue("VELKARO_LARGE_TESTS") != 1)
        QSKIP("Die 2-GB-Datei kostet 5 bis 20 s; VELKARO_LARGE_TESTS=1 nimmt diesen Test mit.");
    // The image lands in memory (/dev/shm): fast, and nothing on the disk.
    const QStorageInfo shm(QStringLiteral("/dev/shm"));
    if (!shm.isValid() || shm.bytesAvailable() < 3LL * 1024 * 1024 * 1024)
        QSKIP("/dev/shm hat keine 3 GB frei für ein Abbild mit einer 2-GB-Datei");
    QTemporaryDir out(QStringLiteral("/dev/shm/velkaro-image-XXXXXX"));
    QVERIFY(out.isValid());

    const qint64 size = 2LL * 1024 * 1024 * 1024;
    MakeDisc(m_root, "open = Pirolo.Exe \"gross.bin\"\r\n");
    QFile big(m_root + "/gross.bin");
    QVERIFY(big.open(QIODevice::WriteOnly));
    QVERIFY(big.resize(size)); // sparse: no 2 GB on the disk
    QVERIFY(big.seek(size - 16));
    big.write("am Ende: 16 Byte");
    big.close();

    const QString image = out.filePath("gross.iso");
    const Run run = RunImage({m_root, "-o", image});
    QVERIFY2(run.exitCode == 0, run.err.constData());
    // Streamed: the program's memory stays far below the size of the image.
    struct rusage usage;
    QCOMPARE(getrusage(RUSAGE_CHILDREN, &usage), 0);
    QVERIFY2(usage.ru_maxrss < 100 * 1024, qPrintable(QString::number(usage.ru_maxrss)));

    const Run listing = RunTool(QStringLiteral(VELKARO_ISOINFO), {"-J", "-l", "-i", image});
    static const QRegularExpression line(
        QStringLiteral(
            "^-\\S+\\s+\\S+\\s+\\S+\\s+\\S+\\s+(\\d+) .*\\[\\s*(\\d+) \\d+\\]  gross.bin;1"),
        QRegularExpression::MultilineOption);
    const auto m = line.match(QString::fromUtf8(listing.out));
    QVERIFY2(m.hasMatch(), listing.out.constData());
    QCOMPARE(m.captured(1).toLongLong(), size);
    QFile iso(image);
    QVERIFY(iso.open(QIODevice::ReadOnly));
    QVERIFY(iso.seek(m.captured(2).toLongLong() * 2048 + size - 16));
    QCOMPARE(iso.read(16), QByteArray("am Ende: 16 Byte"));
}

void ImageReadBackTest::progressOnlyOnATerminal()
{
    MakeDisc(m_root, "open = Pirolo.Exe\r\n");
    const Run piped = RunImage({m_root});
    QCOMPARE(piped.exitCode, 0);
    QVERIFY(!piped.err.contains("%"));

    // script(1) gives the program a terminal.
    QString command;
    for (const QString& part : {QStringLiteral(VELKARO_IMAGE_PROGRAM), m_root, QStringLiteral("-o"),
                                m_tmp.filePath("t.iso")})
        command += " '" + part + "'";
    const Run onTerminal = RunTool("script", {"-qec", command, "/dev/null"});
    QCOMPARE(onTerminal.exitCode, 0);
    QVERIFY2(onTerminal.out.contains("] 100 % |") && onTerminal.out.contains("MB/s | noch"),
             onTerminal.out.constData());
}

void ImageReadBackTest::linksOnlyQtCore()
{
    // A companion for the command line: no Qt Gui, no Widgets.
    const Run elf = RunTool("readelf", {"-d", QStringLiteral(VELKARO_IMAGE_PROGRAM)});
    QCOMPARE(elf.exitCode, 0);
    QStringList needed;
    static const QRegularExpression entry(QStringLiteral("\\(NEEDED\\).*\\[(.*)\\]"));
    for (const QString& line : QString::fromUtf8(elf.out).split('\n')) {
        if (const auto m = entry.match(line); m.hasMatch())
            needed.append(m.captured(1));
    }
    QVERIFY2(needed.contains("libQt6Core.so.6") && needed.contains("libisofs.so.6"),
             qPrintable(needed.join(' ')));
    for (const QString& library : needed)
        QVERIFY2(!library.contains("Gui") && !library.contains("Widgets"), qPrintable(library));
}

QTEST_GUILESS_MAIN(ImageReadBackTest)
#include "tst_imagereadback.moc"

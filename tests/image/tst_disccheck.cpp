// The check of a CD root folder against its AutoRun.Inf, with the names the
// Joliet tree will give its files: what Windows will and will not find.

#include "DiscCheck.h"
#include "JolietNames.h"
#include "VolumeLabel.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velkaro::image;

namespace {

const QString Long70 = QString(66, QLatin1Char('x')) + QStringLiteral(".htm");

void Make(const QString& path, const QByteArray& bytes = "x")
{
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write(bytes);
}

} // namespace

class DiscCheckTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void preparedDiscPasses();
    void refusals_data();
    void refusals();
    void wholeDiscFaults();
    void launcherNamedByNoEntry();
    void jolietNames();
    void volumeLabels_data();
    void volumeLabels();

private:
    QTemporaryDir m_tmp;
    QString m_root;
    void Autorun(const QByteArray& section)
    {
        Make(m_root + "/AutoRun.Inf", ";* header\r\n[autorun]\r\n" + section);
    }
};

void DiscCheckTest::init()
{
    QDir(m_tmp.path()).removeRecursively();
    m_root = m_tmp.filePath("CD");
    Make(m_root + "/Pirolo.Exe", "MZ");
}

void DiscCheckTest::preparedDiscPasses()
{
    Make(m_root + "/start/index.htm");
    Make(m_root + "/Bilder und Töne/Größe.txt");
    Make(m_root + "/AutoRun.Ico");
    // 64 characters is still a Joliet name, and the dot before the extension
    // does not count; case does not matter.
    Make(m_root + "/doku/" + QString(60, QLatin1Char('d')) + ".pdf");
    Make(m_root + "/doku/" + QString(61, QLatin1Char('e')) + ".pdf");
    // Written with a lower-case name: Windows finds it all the same.
    QVERIFY(QFile::rename(m_root + "/Pirolo.Exe", m_root + "/pirolo.exe"));
    Autorun("open = Pirolo.Exe \"START\\Index.htm\"\r\n"
            "icon = AutoRun.Ico\r\n"
            "shell\\0\\command = Pirolo.Exe \"Bilder und T\xF6ne\\\"\r\n"
            "shell\\1\\command = Pirolo.Exe \"bilder und t\xD6ne\\GR\xD6\xDF"
            "E.TXT\"\r\n"
            "shell\\2\\command = Pirolo.Exe \"doku\\" +
            QByteArray(60, 'D') +
            ".PDF\"\r\n"
            "shell\\4\\command = Pirolo.Exe \"doku\\" +
            QByteArray(61, 'e') +
            ".pdf\"\r\n"
            "shell\\qb\\command = Pirolo.Exe\r\n"
            "shell\\3\\command = Pirolo.Exe \"\\\"\r\n");
    QFile::rename(m_root + "/AutoRun.Inf", m_root + "/AUTORUN.INF");

    const CheckResult result = CheckDisc(FolderView(m_root));
    QVERIFY2(result.ok(), qPrintable(result.general + [&] {
                 QString all;
                 for (const CheckLine& line : result.lines)
                     all += '\n' + ListingLine(line);
                 return all;
             }()));
    QCOMPARE(result.lines.size(), 14);
    QCOMPARE(ListingLine(result.lines.at(1)), QStringLiteral("OK      open: START\\Index.htm"));
}

void DiscCheckTest::refusals_data()
{
    QTest::addColumn<QStringList>("files"); // below the root; "name/" makes a folder
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QString>("path");    // of the failing line
    QTest::addColumn<QString>("problem"); // its start

    const QByteArray long70 = Long70.toLatin1();
    QTest::newRow("a 70-character name")
        << QStringList{"start/" + Long70} << "open = Pirolo.Exe \"start\\" + long70 + "\"\r\n"
        << "start\\" + Long70
        << "Windows liest die CD über Joliet, und dort hätte „" + Long70 +
               "“ einen anderen Namen: er hat 69 Zeichen ohne den Punkt vor der Endung, Joliet "
               "erlaubt 64, und auf der CD hieße er „" +
               QString(61, QLatin1Char('x')) + ".htm“.";
    QTest::newRow("a dot at the end, which Windows drops")
        << QStringList{"Notiz."} << QByteArray("open = Pirolo.Exe \"Notiz.\"\r\n") << "Notiz."
        << QStringLiteral("Der Name „Notiz.“ endet auf der CD mit einem Punkt oder Leerzeichen");
    QTest::newRow("a character Joliet forbids")
        << QStringList{"Teil;1.htm"} << QByteArray("open = Pirolo.Exe \"Teil;1.htm\"\r\n")
        << "Teil;1.htm"
        << QStringLiteral("Windows liest die CD über Joliet, und dort hätte „Teil;1.htm“ einen "
                          "anderen Namen: er enthält das Zeichen „;“ (U+003B), das Joliet nicht "
                          "erlaubt, und hieße auf der CD „Teil_1.htm“.");
    QTest::newRow("two names that Joliet shortens alike")
        << QStringList{QString(64, QLatin1Char('n')), QString(66, QLatin1Char('n'))}
        << "shell\\0\\command = Pirolo.Exe \"" + QByteArray(64, 'n') + "\"\r\n"
        << QString(64, QLatin1Char('n'))
        << QStringLiteral("Windows liest die CD über Joliet, und dort hätte „") +
               QString(64, QLatin1Char('n')) + "“ einen anderen Namen: ein anderer Name";
    QTest::newRow("a deleted file")
        << QStringList{"start/"} << QByteArray("open = Pirolo.Exe \"start\\index.htm\"\r\n")
        << "start\\index.htm" << QStringLiteral("Diese Datei gibt es auf der CD nicht.");
    QTest::newRow("a missing folder on the way")
        << QStringList{} << QByteArray("shell\\1\\command = Pirolo.Exe \"doku\\a.pdf\"\r\n")
        << "doku\\a.pdf" << QStringLiteral("Den Ordner „doku“ gibt es auf der CD nicht.");
    QTest::newRow("names that differ only in case")
        << QStringList{"Index.htm", "index.htm"}
        << QByteArray("open = Pirolo.Exe \"INDEX.HTM\"\r\n") << "INDEX.HTM"
        << QStringLiteral("Auf der CD passen dazu mehrere Namen, die sich nur in der Groß- und "
                          "Kleinschreibung unterscheiden („Index.htm“, „index.htm“)");
    QTest::newRow("a folder entry that is a file")
        << QStringList{"Bilder"} << QByteArray("open = Pirolo.Exe \"Bilder\\\"\r\n") << "Bilder\\"
        << QStringLiteral("Das ist auf der CD eine Datei, kein Ordner.");
    QTest::newRow("an icon that is a folder")
        << QStringList{"icon.ico/"} << QByteArray("icon = icon.ico\r\nopen = Pirolo.Exe\r\n")
        << "icon.ico" << QStringLiteral("Das ist auf der CD ein Ordner, keine Datei.");
    QTest::newRow("a path that leaves the disc")
        << QStringList{} << QByteArray("open = Pirolo.Exe \"..\\x.htm\"\r\n") << "..\\x.htm"
        << QStringLiteral("Der Pfad führt aus der CD hinaus");
    const QString deep = QStringList(9, QString(29, QLatin1Char('t'))).join('/');
    QTest::newRow("a path beyond Windows' limit")
        << QStringList{deep + "/a.htm"}
        << "open = Pirolo.Exe \"" +
               QStringList(9, QString(29, QLatin1Char('t'))).join('\\').toLatin1() + "\\a.htm\"\r\n"
        << QStringList(9, QString(29, QLatin1Char('t'))).join('\\') + "\\a.htm"
        << QStringLiteral("Der Pfad ist länger als die 256 Zeichen");
    QTest::newRow("the launcher missing")
        << QStringList{} << QByteArray("open = Pirolo.Exe \"\\\"\r\n") << "Pirolo.Exe"
        << QStringLiteral("Diese Datei gibt es auf der CD nicht.");
}

void DiscCheckTest::refusals()
{
    QFETCH(QStringList, files);
    QFETCH(QByteArray, section);
    QFETCH(QString, path);
    QFETCH(QString, problem);
    for (const QString& file : files) {
        if (file.endsWith('/'))
            QVERIFY(QDir().mkpath(m_root + '/' + file));
        else
            Make(m_root + '/' + file);
    }
    if (path == QLatin1String("Pirolo.Exe"))
        QVERIFY(QFile::remove(m_root + "/Pirolo.Exe"));
    // A start entry for the rows without one; the first "open" counts.
    Autorun(section + "open = Pirolo.Exe\r\n");

    const CheckResult result = CheckDisc(FolderView(m_root));
    QVERIFY(!result.ok());
    QVERIFY(result.general.isEmpty());
    QList<CheckLine> failed;
    for (const CheckLine& line : result.lines) {
        if (!line.problem.isEmpty())
            failed.append(line);
    }
    QCOMPARE(failed.size(), 1);
    QCOMPARE(failed.first().path, path);
    QVERIFY2(failed.first().problem.startsWith(problem), qPrintable(failed.first().problem));
    // The message names the entry and the path.
    const QString text = RefusalText(failed.first());
    QVERIFY2(text.startsWith(QStringLiteral("Der Eintrag „") + failed.first().entry +
                             QStringLiteral("“ in AutoRun.Inf nennt „") + path + "“: "),
             qPrintable(text));
}

void DiscCheckTest::wholeDiscFaults()
{
    CheckResult result = CheckDisc(FolderView(m_root));
    QVERIFY(result.general.startsWith(
        QStringLiteral("AutoRun.Inf im Hauptverzeichnis der CD: Diese Datei gibt es auf der CD "
                       "nicht.")));
    QVERIFY(result.lines.isEmpty());

    Make(m_root + "/AutoRun.Inf", "[autorunn]\r\nopen = Pirolo.Exe\r\n");
    result = CheckDisc(FolderView(m_root));
    QCOMPARE(result.general, QStringLiteral("AutoRun.Inf hat keinen Abschnitt [autorun]; Windows "
                                            "startet die CD nicht von selbst."));

    Autorun("icon = Pirolo.Exe\r\n");
    result = CheckDisc(FolderView(m_root));
    QVERIFY(!result.ok());
    QVERIFY(result.general.startsWith(QStringLiteral("AutoRun.Inf nennt im Abschnitt [autorun] "
                                                     "keinen Eintrag „open“")));
}

void DiscCheckTest::launcherNamedByNoEntry()
{
    QVERIFY(QFile::remove(m_root + "/Pirolo.Exe"));
    Make(m_root + "/setup.exe");
    Autorun("open = setup.exe\r\n");
    const CheckResult result = CheckDisc(FolderView(m_root));
    QCOMPARE(result.lines.size(), 2);
    QCOMPARE(result.lines.at(1).entry, QString());
    QCOMPARE(RefusalText(result.lines.at(1)),
             QStringLiteral("Der Starter „Pirolo.Exe“ im Hauptverzeichnis der CD: Diese Datei gibt "
                            "es auf der CD nicht. Velkaro legt ihn mit OK dorthin."));
}

void DiscCheckTest::jolietNames()
{
    // The writer's rules: the extension survives shortening, with at least
    // three of its characters; a folder is cut; a name without a dot stays so.
    QCOMPARE(JolietName(Long70, false), QString(61, QLatin1Char('x')) + ".htm");
    QCOMPARE(JolietName(QString(10, 'a') + '.' + QString(60, 'e'), false),
             QString(10, 'a') + '.' + QString(54, 'e'));
    QCOMPARE(JolietName(QString(62, 'a') + '.' + QString(10, 'e'), false),
             QString(61, 'a') + ".eee");
    QCOMPARE(JolietName(QString(70, 'f'), true), QString(64, 'f'));
    QCOMPARE(JolietName(QStringLiteral("README"), false), QStringLiteral("README"));
    // Bytes that are no UTF-8 stay in the name, one "_" each in Joliet.
    const QByteArray foreign("Bad\xFF\xFE\xE4\xB8x");
    QCOMPARE(LocalBytes(LocalName(foreign)), foreign);
    QCOMPARE(ShownName(LocalName(foreign)), QStringLiteral("Bad\\xFF\\xFE\\xE4\\xB8x"));
    QCOMPARE(JolietName(LocalName(foreign), false), QStringLiteral("Bad____x"));
    QCOMPARE(JolietName(QStringLiteral("a*b?c:d\\e\tf"), false), QStringLiteral("a_b_c_d_e_f"));
    QCOMPARE(JolietName(QStringLiteral("Größe und Maß.txt"), false),
             QStringLiteral("Größe und Maß.txt"));
    QCOMPARE(WindowsTrimmed(QStringLiteral("name. .")), QStringLiteral("name"));
}

void DiscCheckTest::volumeLabels_data()
{
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<QString>("label");
    QTest::newRow("blank") << "Meine CD"
                           << "MEINE_CD";
    QTest::newRow("umlauts") << "Übungs-CD für Jörg"
                             << "UEBUNGS_CD_FUER_";
    QTest::newRow("accents") << "Café"
                             << "CAFE";
    QTest::newRow("already legal") << "PROJEKT_2026"
                                   << "PROJEKT_2026";
    QTest::newRow("beyond Latin") << "日本 1"
                                  << "___1";
    QTest::newRow("nothing left") << ""
                                  << "CD";
}

void DiscCheckTest::volumeLabels()
{
    QFETCH(QString, wanted);
    QFETCH(QString, label);
    QCOMPARE(MakeVolumeLabel(wanted), label);
}

QTEST_GUILESS_MAIN(DiscCheckTest)
#include "tst_disccheck.moc"

#include "FileHelpers.h"
#include "TestFiles.h"
#include "Windows1252.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <limits>

using namespace velkaro;
using velkaro::test::ReadAll;
using velkaro::test::WriteRaw;

class FileHelpersTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void replacesLongerReadOnlyHiddenFile();
    void writesWindows1252Bytes();
    void missingFolderFailsAndCreatesNothing();
    void failedReplacementKeepsOldFile();
    void folderInTheWayFails();
    void keepExistingWritesFirstFreeNumber();
    void keepExistingWithoutExtension();
    void fileExists();
    void fileExistsWithWildcards();
    void addBackslash();
    void enclosingAndPicking();
    void incrementCounterStopsAtOverflow();
    void shortPathOfMissingPathIsEmpty();
    void copyFileAtomically();

private:
    QTemporaryDir m_dir;
    QString path(const QString& name) const { return m_dir.filePath(name); }
};

void FileHelpersTest::init()
{
    QVERIFY(m_dir.isValid());
    QDir(m_dir.path()).removeRecursively();
    QVERIFY(QDir().mkpath(m_dir.path()));
}

void FileHelpersTest::replacesLongerReadOnlyHiddenFile()
{
    // "Hidden" on POSIX is the leading dot.
    const QString target = path(".AutoRun.Inf");
    WriteRaw(target, QByteArray(4096, 'x'));
    QVERIFY(QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::ReadGroup));

    QCOMPARE(WriteWholeFile(target, QStringLiteral("[autorun]\r\n")), MaybeFailure());
    QCOMPARE(ReadAll(target), QByteArray("[autorun]\r\n"));
    QVERIFY(QFileInfo(target).permissions() & QFileDevice::WriteOwner);
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void FileHelpersTest::writesWindows1252Bytes()
{
    const QString target = path("text.inf");
    const QString text = QStringLiteral("Ü€äß\u2013\u4e2d\U0001F600é");
    QCOMPARE(WriteWholeFile(target, text), MaybeFailure());
    QCOMPARE(ReadAll(target), QByteArray("\xDC\x80\xE4\xDF\x96??\xE9"));
    QCOMPARE(FromWindows1252(QByteArray("\xDC\x80\x9F")), QStringLiteral("Ü€Ÿ"));
    QVERIFY(CanEncodeWindows1252(U'€'));
    QVERIFY(!CanEncodeWindows1252(U'\u0100'));
}

void FileHelpersTest::missingFolderFailsAndCreatesNothing()
{
    const QString target = path("fehlt/AutoRun.Inf");
    const MaybeFailure failure = WriteWholeFile(target, QStringLiteral("x"));
    QVERIFY(failure);
    QCOMPARE(failure->code, qint32(FailureCode::PathNotFound));
    QVERIFY(!QFileInfo::exists(path("fehlt")));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 0);
}

void FileHelpersTest::failedReplacementKeepsOldFile()
{
    // The folder of the file is itself a file: nothing can be created there.
    const QString blocker = path("blocker");
    WriteRaw(blocker, "I am a file");
    const MaybeFailure failure = WriteWholeFile(blocker + "/AutoRun.Inf", QStringLiteral("neu"));
    QVERIFY(failure);
    QCOMPARE(failure->code, qint32(FailureCode::PathNotFound));
    QCOMPARE(ReadAll(blocker), QByteArray("I am a file"));

    // A name longer than the file system allows fails after the old file was
    // found: it must still be there, unchanged.
    const QString old = path("AutoRun.Inf");
    WriteRaw(old, "alt");
    const QString tooLong = path(QString(300, QLatin1Char('n')));
    QVERIFY(WriteWholeFile(tooLong, QStringLiteral("neu")));
    QCOMPARE(ReadAll(old), QByteArray("alt"));
    QCOMPARE(QDir(m_dir.path()).entryList(QDir::Files).size(), 2);
}

void FileHelpersTest::folderInTheWayFails()
{
    QVERIFY(QDir(m_dir.path()).mkdir("AutoRun.Inf"));
    const MaybeFailure failure = WriteWholeFile(path("AutoRun.Inf"), QStringLiteral("x"));
    QVERIFY(failure);
    QCOMPARE(failure->code, qint32(FailureCode::PathFileAccess));
    QVERIFY(QFileInfo(path("AutoRun.Inf")).isDir());
}

void FileHelpersTest::keepExistingWritesFirstFreeNumber()
{
    WriteRaw(path("Liste.txt"), "eins");
    WriteRaw(path("Liste(1).txt"), "zwei");
    QCOMPARE(WriteWholeFile(path("Liste.txt"), QStringLiteral("drei"), WriteMode::KeepExisting),
             MaybeFailure());
    QCOMPARE(ReadAll(path("Liste.txt")), QByteArray("eins"));
    QCOMPARE(ReadAll(path("Liste(1).txt")), QByteArray("zwei"));
    QCOMPARE(ReadAll(path("Liste(2).txt")), QByteArray("drei"));

    // Without an existing file the name is used as it is.
    QCOMPARE(WriteWholeFile(path("Neu.txt"), QStringLiteral("n"), WriteMode::KeepExisting),
             MaybeFailure());
    QCOMPARE(ReadAll(path("Neu.txt")), QByteArray("n"));
}

void FileHelpersTest::keepExistingWithoutExtension()
{
    // A dot in a folder name is no extension of the file.
    QVERIFY(QDir(m_dir.path()).mkdir("ordner.v2"));
    WriteRaw(path("ordner.v2/Liesmich"), "alt");
    QCOMPARE(
        WriteWholeFile(path("ordner.v2/Liesmich"), QStringLiteral("neu"), WriteMode::KeepExisting),
        MaybeFailure());
    QCOMPARE(ReadAll(path("ordner.v2/Liesmich(1).")), QByteArray("neu"));
    QCOMPARE(ReadAll(path("ordner.v2/Liesmich")), QByteArray("alt"));
}

void FileHelpersTest::fileExists()
{
    WriteRaw(path("plain.txt"), "x");
    WriteRaw(path(".hidden"), "x");
    QVERIFY(QDir(m_dir.path()).mkdir("folder"));

    QVERIFY(FileExists(path("plain.txt")));
    QVERIFY(!FileExists(path(".hidden")));
    QVERIFY(!FileExists(path("folder")));
    QVERIFY(!FileExists(QString()));
    QVERIFY(!FileExists(path("missing/plain.txt")));
    QVERIFY(!FileExists(QStringLiteral("/no/such/drive/x")));
    // Brackets are no wildcards.
    WriteRaw(path("a[1].txt"), "x");
    QVERIFY(FileExists(path("a[1].txt")));
    QVERIFY(!FileExists(path("a1.txt")));
}

void FileHelpersTest::fileExistsWithWildcards()
{
    WriteRaw(path("index.htm"), "x");
    WriteRaw(path(".geheim.htm"), "x");
    QVERIFY(QDir(m_dir.path()).mkdir("ordner.htm"));

    QVERIFY(FileExists(path("*.htm")));
    QVERIFY(FileExists(path("ind?x.htm")));
    QVERIFY(FileExists(path("i*")));
    QVERIFY(!FileExists(path("*.html")));
    QVERIFY(!FileExists(path("ordner*")));
    QVERIFY(!FileExists(path(".geh*")));
    QVERIFY(!FileExists(path("fehlt/*")));
}

void FileHelpersTest::addBackslash()
{
    const QString sep(PathSeparator());
    QCOMPARE(AddBackslash("/home/daten"), "/home/daten" + sep);
    QCOMPARE(AddBackslash("/home/daten" + sep), "/home/daten" + sep);
    QCOMPARE(AddBackslash(QString()), sep);
}

void FileHelpersTest::enclosingAndPicking()
{
    QCOMPARE(EncloseText("3", "("), QStringLiteral("(3)"));
    QCOMPARE(EncloseText("3", "["), QStringLiteral("[3]"));
    QCOMPARE(EncloseText("3", "{"), QStringLiteral("{3}"));
    QCOMPARE(EncloseText("3", "<"), QStringLiteral("<3>"));
    QCOMPARE(EncloseText("x", "*"), QStringLiteral("*x*"));
    QCOMPARE(QuoteText("a\\b"), QStringLiteral("\"a\\b\""));
    QCOMPARE(PickText("a", true, "b"), QStringLiteral("a"));
    QCOMPARE(PickText("a", false, "b"), QStringLiteral("b"));
}

void FileHelpersTest::incrementCounterStopsAtOverflow()
{
    qint32 n = 41;
    QCOMPARE(IncrementCounter(n), MaybeFailure());
    QCOMPARE(n, 42);

    n = std::numeric_limits<qint32>::max();
    const MaybeFailure failure = IncrementCounter(n);
    QVERIFY(failure);
    QCOMPARE(failure->code, qint32(FailureCode::Overflow));
    QCOMPARE(n, std::numeric_limits<qint32>::max());
}

void FileHelpersTest::shortPathOfMissingPathIsEmpty()
{
    QCOMPARE(GetShortPath(path("fehlt")), QString());
    QVERIFY(!GetShortPath(m_dir.path()).isEmpty());
}

void FileHelpersTest::copyFileAtomically()
{
    WriteRaw(path("quelle.exe"), QByteArray(600 * 1024, 'q'));
    WriteRaw(path("ziel.exe"), "alt");
    QVERIFY(QFile::setPermissions(path("ziel.exe"), QFileDevice::ReadOwner));
    QCOMPARE(CopyFileAtomically(path("quelle.exe"), path("ziel.exe")), MaybeFailure());
    QCOMPARE(ReadAll(path("ziel.exe")), QByteArray(600 * 1024, 'q'));

    const MaybeFailure missing = CopyFileAtomically(path("fehlt.exe"), path("ziel2.exe"));
    QVERIFY(missing);
    QCOMPARE(missing->code, qint32(FailureCode::FileNotFound));
    QVERIFY(!QFileInfo::exists(path("ziel2.exe")));

    QVERIFY(QDir(m_dir.path()).mkdir("ordner.exe"));
    const MaybeFailure inTheWay = CopyFileAtomically(path("quelle.exe"), path("ordner.exe"));
    QVERIFY(inTheWay);
    QCOMPARE(inTheWay->code, qint32(FailureCode::PathFileAccess));
}

QTEST_GUILESS_MAIN(FileHelpersTest)
#include "tst_filehelpers.moc"

// The Windows branches of src/common, run for real (under Wine in the
// windows preset): file attributes, short names and the registry store.
#include "AppSettings.h"
#include "FileHelpers.h"
#include "TestFiles.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <windows.h>

using namespace velkaro;
using velkaro::test::ReadAll;
using velkaro::test::WriteRaw;

namespace {

DWORD Attributes(const QString& path)
{
    return GetFileAttributesW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16()));
}

bool SetAttributes(const QString& path, DWORD attributes)
{
    return SetFileAttributesW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16()),
                              attributes);
}

constexpr DWORD Protected = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

} // namespace

class WindowsFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void protectedFileReplaced_data();
    void protectedFileReplaced();
    void shortPathOfNameWithBlanks();
    void settingsLiveInTheRegistry();

private:
    QTemporaryDir m_dir;
};

void WindowsFilesTest::protectedFileReplaced_data()
{
    QTest::addColumn<bool>("copy");
    QTest::newRow("AutoRun.Inf written") << false;
    QTest::newRow("Pirolo.Exe copied") << true;
}

// A disc prepared before may carry AutoRun.Inf and Pirolo.Exe read-only,
// hidden and system; the OK command replaces them all the same.
void WindowsFilesTest::protectedFileReplaced()
{
    QFETCH(bool, copy);
    QVERIFY(m_dir.isValid());
    const QString folder = m_dir.filePath(copy ? "copy" : "write");
    QVERIFY(QDir().mkpath(folder));
    const QString target = folder + (copy ? "/Pirolo.Exe" : "/AutoRun.Inf");
    WriteRaw(target, QByteArray(4096, 'x'));
    QVERIFY(SetAttributes(target, Protected));
    QCOMPARE(Attributes(target) & Protected, Protected);

    const QByteArray fresh = copy ? QByteArray("MZ new launcher") : QByteArray("[autorun]\r\n");
    if (copy) {
        WriteRaw(m_dir.filePath("source.exe"), fresh);
        QCOMPARE(CopyFileAtomically(m_dir.filePath("source.exe"), target), MaybeFailure());
    } else {
        QCOMPARE(WriteWholeFile(target, QString::fromLatin1(fresh)), MaybeFailure());
    }
    QCOMPARE(ReadAll(target), fresh);
    QCOMPARE(Attributes(target) & Protected, DWORD(0));
    // No temporary file is left beside it.
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 1);
}

void WindowsFilesTest::shortPathOfNameWithBlanks()
{
    const QString folder = m_dir.filePath("Meine CD Dateien");
    QVERIFY(QDir().mkpath(folder));
    const QString file = QDir::toNativeSeparators(folder + "/Lies mich bitte.txt");
    WriteRaw(file, "Inhalt");

    const QString shortPath = GetShortPath(file);
    if (shortPath == file)
        QSKIP("this volume keeps no short (8.3) names");
    QVERIFY2(!shortPath.isEmpty(), qPrintable(file));
    QVERIFY2(!shortPath.contains(QLatin1Char(' ')), qPrintable(shortPath));
    QCOMPARE(shortPath.count(QLatin1Char('\\')), file.count(QLatin1Char('\\')));
    QCOMPARE(ReadAll(shortPath), QByteArray("Inhalt"));
}

// The window position goes to the user's part of the registry, under the
// application and section names as two key levels.
void WindowsFilesTest::settingsLiveInTheRegistry()
{
    const QString key =
        QStringLiteral("HKEY_CURRENT_USER\\Software\\Marlenhof Software\\Velkaro 2005");
    QSettings registry(key, QSettings::NativeFormat);
    const QVariant before = registry.value("_Top");

    QVERIFY(SaveAppSetting(*OpenAppSettings(), QStringLiteral("_Top"), 4321));
    registry.sync();
    QCOMPARE(registry.value("_Top").toString(), QStringLiteral("4321"));
    registry.setValue("_Top", QStringLiteral("1234"));
    registry.sync();
    QCOMPARE(GetAppSetting(*OpenAppSettings(), QStringLiteral("_Top"), QStringLiteral("leer")),
             QStringLiteral("1234"));

    if (before.isValid())
        registry.setValue("_Top", before);
    else
        registry.remove("_Top");
}

QTEST_GUILESS_MAIN(WindowsFilesTest)
#include "tst_windows_files.moc"

// Checks the built Pirolo.Exe itself: what Windows will see of it on a disc.

#include "PeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTest>
#include <QtEndian>

using namespace velkaro;

namespace {

constexpr quint32 RtIcon = 3;
constexpr quint32 RtGroupIcon = 14;
constexpr quint32 RtVersion = 16;
constexpr quint32 RtManifest = 24;

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

QByteArray Utf16(const QString& text)
{
    return QByteArray(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
}

// The images of an .ico file by their width (0 in the file means 256).
QMap<int, QByteArray> IcoImages(const QByteArray& ico)
{
    QMap<int, QByteArray> images;
    if (ico.size() < 6) {
        return images;
    }
    const int count = qFromLittleEndian<quint16>(ico.constData() + 4);
    for (int i = 0; i < count && 6 + 16 * (i + 1) <= ico.size(); ++i) {
        const char* entry = ico.constData() + 6 + 16 * i;
        const int width = quint8(entry[0]) == 0 ? 256 : quint8(entry[0]);
        const quint32 size = qFromLittleEndian<quint32>(entry + 8);
        const quint32 offset = qFromLittleEndian<quint32>(entry + 12);
        images.insert(width, ico.mid(offset, size));
    }
    return images;
}

} // namespace

class PiroloFileTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void isASmall32BitGuiProgram();
    void importsOnlySystemDlls();
    void carriesTheDiscIconFirst();
    void manifestAsksForNoElevation();
    void versionResourceCarriesTheProjectVersion();

private:
    QByteArray bytes_;
    std::optional<PeFile> pe_;
};

void PiroloFileTest::initTestCase()
{
    if (!VELKARO_LAUNCHER_BUILT) {
        QSKIP("Pirolo.Exe was not built: the mingw-w64 cross compiler is missing");
    }
    const QFileInfo file(QStringLiteral(PIROLO_FILE));
    // Velkaro copies the file by this exact name; on Linux the case counts.
    QVERIFY2(
        QDir(file.absolutePath()).entryList(QDir::Files).contains(QStringLiteral("Pirolo.Exe")),
        qPrintable(file.absolutePath()));
    bytes_ = ReadAll(file.absoluteFilePath());
    QVERIFY(!bytes_.isEmpty());
    QString error;
    pe_ = PeFile::Parse(bytes_, &error);
    QVERIFY2(pe_.has_value(), qPrintable(error));
}

void PiroloFileTest::isASmall32BitGuiProgram()
{
    QCOMPARE(pe_->machine, quint16(0x14C));       // i386
    QCOMPARE(pe_->optionalMagic, quint16(0x10B)); // PE32
    QCOMPARE(pe_->subsystem, quint16(2));         // Windows GUI, no console
    QVERIFY(pe_->characteristics & 0x0002);       // executable
    QVERIFY(!(pe_->characteristics & 0x2000));    // not a DLL
    // Loaded at a random address, its data not executable.
    QCOMPARE(pe_->dllCharacteristics & 0x0140, 0x0140); // DYNAMIC_BASE, NX_COMPAT
    QVERIFY2(bytes_.size() < 200 * 1024, qPrintable(QString::number(bytes_.size())));
}

void PiroloFileTest::importsOnlySystemDlls()
{
    const QSet<QString> system = {
        QStringLiteral("kernel32.dll"), QStringLiteral("user32.dll"),
        QStringLiteral("shell32.dll"),  QStringLiteral("ole32.dll"),
        QStringLiteral("msvcrt.dll"),   QStringLiteral("advapi32.dll"),
        QStringLiteral("gdi32.dll"),    QStringLiteral("comctl32.dll"),
        QStringLiteral("shlwapi.dll"),
    };
    QStringList functions;
    for (const PeFile::Import& import : pe_->imports) {
        QVERIFY2(system.contains(import.dll.toLower()), qPrintable(import.dll));
        functions << import.functions;
    }
    // Unicode throughout, and the raw command line rather than argv.
    // SetDllDirectoryW and GetProcAddress: DLLs only from the system folder,
    // with SetDefaultDllDirectories where Windows has it.
    for (const char* name :
         {"GetCommandLineW", "GetModuleFileNameW", "ShellExecuteExW", "MessageBoxW",
          "GetFileAttributesW", "SetDllDirectoryW", "GetProcAddress"}) {
        QVERIFY2(functions.contains(QLatin1String(name)), name);
    }
    QVERIFY(bytes_.contains(QByteArrayLiteral("SetDefaultDllDirectories\0")));
    for (const char* name :
         {"ShellExecuteA", "ShellExecuteExA", "MessageBoxA", "CommandLineToArgvW"}) {
        QVERIFY2(!functions.contains(QLatin1String(name)), name);
    }
}

void PiroloFileTest::carriesTheDiscIconFirst()
{
    // The shell shows the first icon group of the file for "icon = Pirolo.Exe".
    const QList<PeFile::Resource> groups = pe_->ResourcesOfType(RtGroupIcon);
    QVERIFY(!groups.isEmpty());
    const QByteArray group = groups.first().data;
    QVERIFY(group.size() >= 6);
    QCOMPARE(qFromLittleEndian<quint16>(group.constData() + 2), quint16(1)); // icons
    const int count = qFromLittleEndian<quint16>(group.constData() + 4);
    QCOMPARE(group.size(), 6 + 14 * count);

    const QMap<int, QByteArray> expected = IcoImages(ReadAll(QStringLiteral(VELKARO_DISC_ICO)));
    QCOMPARE(expected.keys(), QList<int>({16, 32, 48}));

    QList<int> sizes;
    for (int i = 0; i < count; ++i) {
        const char* entry = group.constData() + 6 + 14 * i;
        const int width = quint8(entry[0]);
        QCOMPARE(quint8(entry[1]), quint8(width)); // square
        sizes << width;
        const quint16 id = qFromLittleEndian<quint16>(entry + 12);
        const std::optional<PeFile::Resource> icon = pe_->FindResource(RtIcon, id);
        QVERIFY2(icon.has_value(), qPrintable(QString::number(id)));
        QCOMPARE(quint32(icon->data.size()), qFromLittleEndian<quint32>(entry + 8));
        QVERIFY2(icon->data == expected.value(width), qPrintable(QString::number(width)));
    }
    std::sort(sizes.begin(), sizes.end());
    QCOMPARE(sizes, QList<int>({16, 32, 48}));
}

void PiroloFileTest::manifestAsksForNoElevation()
{
    const std::optional<PeFile::Resource> manifest = pe_->FindResource(RtManifest, 1);
    QVERIFY(manifest.has_value());
    const QByteArray& xml = manifest->data;
    QVERIFY(xml.contains(R"(requestedExecutionLevel level="asInvoker")"));
    QVERIFY(xml.contains("<supportedOS Id="));
    QVERIFY(xml.contains("<dpiAwareness"));
    QVERIFY(xml.contains(R"(version=")" VELKARO_TEST_VERSION R"(")"));
    QCOMPARE(pe_->ResourcesOfType(RtManifest).size(), 1);
}

void PiroloFileTest::versionResourceCarriesTheProjectVersion()
{
    const QList<PeFile::Resource> versions = pe_->ResourcesOfType(RtVersion);
    QCOMPARE(versions.size(), 1);
    const QByteArray& data = versions.first().data;

    // VS_FIXEDFILEINFO starts with its signature; the file and product
    // versions follow as two pairs of 32-bit halves.
    const int fixed = data.indexOf(QByteArray::fromHex("bd04effe"));
    QVERIFY(fixed > 0 && fixed + 24 <= data.size());
    const QStringList parts = QStringLiteral(VELKARO_TEST_VERSION).split(QLatin1Char('.'));
    QCOMPARE(parts.size(), 4);
    const quint32 ms = (parts[0].toUInt() << 16) | parts[1].toUInt();
    const quint32 ls = (parts[2].toUInt() << 16) | parts[3].toUInt();
    QCOMPARE(qFromLittleEndian<quint32>(data.constData() + fixed + 8), ms);
    QCOMPARE(qFromLittleEndian<quint32>(data.constData() + fixed + 12), ls);
    QCOMPARE(qFromLittleEndian<quint32>(data.constData() + fixed + 16), ms);
    QCOMPARE(qFromLittleEndian<quint32>(data.constData() + fixed + 20), ls);

    QVERIFY(data.contains(Utf16(QStringLiteral("FileVersion"))));
    QVERIFY(data.contains(Utf16(QStringLiteral(VELKARO_TEST_VERSION))));
    QVERIFY(data.contains(Utf16(QStringLiteral("Pirolo.Exe"))));
}

QTEST_MAIN(PiroloFileTest)
#include "tst_pirolofile.moc"

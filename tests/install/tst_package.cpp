// Builds the Debian package with CPack and reads it back with dpkg-deb:
// its dependencies come from the program's own libraries, Pirolo.Exe goes in
// untouched, and every file lies below /usr.

#include "InstallSupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

// "libqt6core6 (>= 6.2.0), libc6 (>= 2.34)" -> {libqt6core6, libc6}
QSet<QString> PackageNames(const QString& relation)
{
    QSet<QString> names;
    for (const QString& alternatives : relation.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        for (const QString& part : alternatives.split(QLatin1Char('|'))) {
            names.insert(
                part.trimmed().section(QLatin1Char(' '), 0, 0).section(QLatin1Char(':'), 0, 0));
        }
    }
    return names;
}

struct Member
{
    QString mode;
    QString owner;
    QString linkTarget;
};

} // namespace

class PackageTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void noMaintainerScripts();
    void dependenciesComeFromTheProgram();
    void contentsBelowUsr();
    void launcherGoesInUntouched();

private:
    QTemporaryDir m_tmp;
    QString m_deb;
    QMap<QString, Member> m_members; // by path, without the leading "."

    QString Field(const QString& name) const;
};

void PackageTest::initTestCase()
{
    QVERIFY(m_tmp.isValid());
    const KeepInstallManifest keep(QStringLiteral(VELKARO_BUILD_DIR "/install_manifest.txt"));
    const Run cpack = RunProgram(
        QStringLiteral(VELKARO_CPACK_COMMAND),
        {QStringLiteral("--config"), QStringLiteral(VELKARO_BUILD_DIR "/CPackConfig.cmake"),
         QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("-B"), m_tmp.path()});
    QVERIFY2(cpack.exitCode == 0, qPrintable(cpack.out + cpack.err));

    const Run arch = RunProgram(QStringLiteral("dpkg"), {QStringLiteral("--print-architecture")});
    QCOMPARE(arch.exitCode, 0);
    const QString name = QStringLiteral("velkaro_%1_%2.deb")
                             .arg(QStringLiteral(VELKARO_VERSION), arch.out.trimmed());
    QCOMPARE(QDir(m_tmp.path()).entryList({QStringLiteral("*.deb")}), QStringList{name});
    m_deb = m_tmp.filePath(name);

    // "-rwxr-xr-x root/root  12345 2026-12-08 01:00 ./usr/bin/velkaro -> ../lib/velkaro/velkaro"
    const Run contents =
        RunProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("--contents"), m_deb});
    QVERIFY2(contents.exitCode == 0, qPrintable(contents.err));
    static const QRegularExpression line(
        QStringLiteral(R"(^(\S+)\s+(\S+)\s+\d+\s+\S+\s+\S+\s+\.(/\S*?)/?(?: -> (\S+))?$)"));
    for (const QString& text : contents.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const auto match = line.match(text);
        QVERIFY2(match.hasMatch(), qPrintable(text));
        m_members.insert(match.captured(3),
                         {match.captured(1), match.captured(2), match.captured(4)});
    }
}

QString PackageTest::Field(const QString& name) const
{
    return RunProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), m_deb, name})
        .out.trimmed();
}

void PackageTest::noMaintainerScripts()
{
    // No maintainer scripts: removing the package takes exactly its files.
    const Run info = RunProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("--info"), m_deb});
    QVERIFY2(info.exitCode == 0, qPrintable(info.err));
    for (const char* script : {"preinst", "postinst", "prerm", "postrm"})
        QVERIFY2(!info.out.contains(QLatin1String(script)), script);
}

void PackageTest::dependenciesComeFromTheProgram()
{
    const QString depends = Field("Depends");
    const QSet<QString> names = PackageNames(depends);
    // dpkg-shlibdeps found the C and C++ runtimes and exactly the Qt
    // libraries the program links, each with the version it was built against.
    QVERIFY2(names.contains("libc6") && names.contains("libstdc++6"), qPrintable(depends));
    QSet<QString> qt;
    for (const QString& name : names) {
        if (name.contains(QLatin1String("qt")))
            qt.insert(name);
    }
    QCOMPARE(qt, (QSet<QString>{"libqt6core6", "libqt6gui6", "libqt6widgets6"}));
    // velkaro-image brings the one disc-format library it links.
    QCOMPARE(names.contains("libisofs6"), bool(VELKARO_IMAGE_BUILT));
    QVERIFY2(depends.contains(QRegularExpression(QStringLiteral(R"(libqt6widgets6 \(>= 6\.\d+)"))),
             qPrintable(depends));
}

void PackageTest::contentsBelowUsr()
{
    QVERIFY(!m_members.isEmpty());
    for (auto it = m_members.cbegin(); it != m_members.cend(); ++it) {
        QVERIFY2(it.key() == QLatin1String("/") || it.key() == QLatin1String("/usr") ||
                     it.key().startsWith(QLatin1String("/usr/")),
                 qPrintable(it.key()));
        QCOMPARE(it.value().owner, QStringLiteral("root/root"));
    }
    const QString id = QStringLiteral(VELKARO_APP_ID);
    QCOMPARE(m_members.value("/usr/bin/velkaro").linkTarget,
             QStringLiteral("../lib/velkaro/velkaro"));
    QVERIFY(
        m_members.value("/usr/lib/velkaro/velkaro").mode.startsWith(QLatin1String("-rwxr-xr-x")));
    QCOMPARE(m_members.value("/usr/bin/velkaro-autostart").linkTarget,
             QStringLiteral("../lib/velkaro/velkaro-autostart"));
    QVERIFY(m_members.value("/usr/lib/velkaro/velkaro-autostart")
                .mode.startsWith(QLatin1String("-rwxr-xr-x")));
    QVERIFY(m_members.value("/usr/share/man/man1/velkaro-autostart.1.gz")
                .mode.startsWith(QLatin1String("-rw-r--r--")));
    if (VELKARO_IMAGE_BUILT) {
        QCOMPARE(m_members.value("/usr/bin/velkaro-image").linkTarget,
                 QStringLiteral("../lib/velkaro/velkaro-image"));
        QVERIFY(m_members.value("/usr/lib/velkaro/velkaro-image")
                    .mode.startsWith(QLatin1String("-rwxr-xr-x")));
        QVERIFY(m_members.value("/usr/share/man/man1/velkaro-image.1.gz")
                    .mode.startsWith(QLatin1String("-rw-r--r--")));
    } else {
        QVERIFY(!m_members.contains("/usr/lib/velkaro/velkaro-image"));
    }
    if (VELKARO_LAUNCHER_BUILT) {
        // A Windows program is data here: Debian wants no executable bit on it.
        QVERIFY(m_members.value("/usr/lib/velkaro/Pirolo.Exe")
                    .mode.startsWith(QLatin1String("-rw-r--r--")));
    }
    for (const QString& path : {"/usr/share/applications/" + id + ".desktop",
                                "/usr/share/metainfo/" + id + ".metainfo.xml",
                                "/usr/share/icons/hicolor/48x48/apps/" + id + ".png",
                                "/usr/share/icons/hicolor/scalable/apps/" + id + ".svg",
                                QStringLiteral("/usr/share/doc/velkaro/copyright"),
                                QStringLiteral("/usr/share/doc/velkaro/LICENSE"),
                                QStringLiteral("/usr/share/doc/velkaro/changelog.gz"),
                                QStringLiteral("/usr/share/man/man1/velkaro.1.gz")}) {
        QVERIFY2(m_members.value(path).mode.startsWith(QLatin1String("-rw-r--r--")),
                 qPrintable(path));
    }
}

void PackageTest::launcherGoesInUntouched()
{
    if (!VELKARO_LAUNCHER_BUILT)
        QSKIP("Pirolo.Exe wurde nicht gebaut (mingw-w64 fehlt).");
    // The package's program is stripped; the Windows launcher must not be
    // (nor scanned for Linux libraries): the disc gets it as built.
    const QString unpacked = m_tmp.filePath(QStringLiteral("unpacked"));
    const Run extract =
        RunProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("--extract"), m_deb, unpacked});
    QVERIFY2(extract.exitCode == 0, qPrintable(extract.err));
    QCOMPARE(ReadAll(unpacked + "/usr/lib/velkaro/Pirolo.Exe"),
             ReadAll(QStringLiteral(PIROLO_FILE)));
    const Run sections = RunProgram(QStringLiteral("readelf"),
                                    {QStringLiteral("-S"), unpacked + "/usr/lib/velkaro/velkaro"});
    QCOMPARE(sections.exitCode, 0);
    QVERIFY(!sections.out.contains(QLatin1String(".debug_info")));
}

QTEST_GUILESS_MAIN(PackageTest)
#include "tst_package.moc"

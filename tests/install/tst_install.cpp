// Installs the build into a temporary prefix and checks what an installed
// Velkaro needs: the program finds Pirolo.Exe and its help pages beside the
// file it really runs from, starts through bin/velkaro from any folder, and
// the desktop finds its entry, icon and AppStream data.

#include "InstallSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

// The relative paths of every file below a folder, with their bytes.
QMap<QString, QByteArray> FilesBelow(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), ReadAll(path));
    }
    return files;
}

// The keys of the [Desktop Entry] group, localised keys included.
QMap<QString, QString> DesktopEntry(const QString& path)
{
    QMap<QString, QString> entry;
    const QStringList lines = QString::fromUtf8(ReadAll(path)).split(QLatin1Char('\n'));
    bool inGroup = false;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('['))) {
            inGroup = line == QLatin1String("[Desktop Entry]");
        } else if (inGroup && line.contains(QLatin1Char('=')) &&
                   !line.startsWith(QLatin1Char('#'))) {
            entry.insert(line.section(QLatin1Char('='), 0, 0).trimmed(),
                         line.section(QLatin1Char('='), 1).trimmed());
        }
    }
    return entry;
}

} // namespace

class InstallTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void everythingLandsBelowThePrefix();
    void programFolderHoldsLauncherAndHelp();
    void installedProgramStartsFromAnotherFolder();
    void okCopiesTheInstalledLauncher();
    void imageCompanionRunsFromThePath();
    void desktopFindsEntryIconAndMetadata();
    void installedTreeValidates();
    void licenceAndNotices();

private:
    QTemporaryDir m_tmp;
    QString m_prefix;
    QString m_appDir;        // the folder the installed program really runs from
    QStringList m_installed; // every path the install wrote

    QString Prefixed(const QString& relative) const { return m_prefix + '/' + relative; }
    QProcessEnvironment DesktopEnvironment(const QString& home) const;
};

void InstallTest::initTestCase()
{
    QVERIFY(m_tmp.isValid());
    // A blank in the prefix catches an unquoted path in an install rule.
    m_prefix = m_tmp.filePath(QStringLiteral("Ziel mit Leerzeichen/usr"));
    const QString manifest = QStringLiteral(VELKARO_BUILD_DIR "/install_manifest.txt");
    const KeepInstallManifest keep(manifest);
    const Run install = RunProgram(QStringLiteral(VELKARO_CMAKE_COMMAND),
                                   {QStringLiteral("--install"), QStringLiteral(VELKARO_BUILD_DIR),
                                    QStringLiteral("--prefix"), m_prefix});
    QVERIFY2(install.exitCode == 0, qPrintable(install.out + install.err));
    m_installed = QString::fromUtf8(ReadAll(manifest)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    m_appDir = Prefixed(QStringLiteral(VELKARO_INSTALL_APPDIR));
}

QProcessEnvironment InstallTest::DesktopEnvironment(const QString& home) const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PATH"),
               Prefixed(QStringLiteral(VELKARO_INSTALL_BINDIR)) + ':' + env.value("PATH"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // The program stores its window position; never in the real settings.
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    return env;
}

void InstallTest::everythingLandsBelowThePrefix()
{
    QVERIFY(m_installed.size() > 5);
    for (const QString& path : m_installed) {
        QVERIFY2(path.startsWith(m_prefix + '/'), qPrintable(path));
        // A link must not reach out of the tree either.
        if (QFileInfo(path).isSymLink()) {
            QVERIFY2(QDir::isRelativePath(LinkText(path)), qPrintable(path));
            const QString target = QFileInfo(path).symLinkTarget();
            QVERIFY2(target.startsWith(m_prefix + '/'), qPrintable(path + " -> " + target));
        }
    }
}

void InstallTest::programFolderHoldsLauncherAndHelp()
{
    // bin/velkaro is a relative link to the program in its own folder, so the
    // installed tree still works when it is moved as a whole.
    const QString command = Prefixed(QStringLiteral(VELKARO_INSTALL_BINDIR "/velkaro"));
    const QFileInfo link(command);
    QVERIFY2(link.isSymLink(), qPrintable(command));
    QVERIFY2(QDir::isRelativePath(LinkText(command)), qPrintable(LinkText(command)));
    const QFileInfo program(link.canonicalFilePath());
    QCOMPARE(program.absoluteFilePath(), QFileInfo(m_appDir + "/velkaro").canonicalFilePath());
    QVERIFY(program.isExecutable());

    const QString launcher = m_appDir + QStringLiteral("/Pirolo.Exe");
    if (VELKARO_LAUNCHER_BUILT) {
        QCOMPARE(ReadAll(launcher), ReadAll(QStringLiteral(PIROLO_FILE)));
    } else {
        QVERIFY(!QFileInfo::exists(launcher));
    }

    // The help pages are installed exactly as the build laid them out.
    const QString builtHelp = QStringLiteral(VELKARO_BUILD_DIR "/bin/hilfe");
    const QString installedHelp = m_appDir + QStringLiteral("/hilfe");
    if (QFileInfo(builtHelp).isDir()) {
        const auto built = FilesBelow(builtHelp);
        QVERIFY(!built.isEmpty());
        QCOMPARE(FilesBelow(installedHelp), built);
    } else {
        QVERIFY(!QFileInfo::exists(installedHelp));
    }
}

void InstallTest::installedProgramStartsFromAnotherFolder()
{
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    // Through the shell, as a desktop's Exec line runs it: by name on the PATH.
    QProcess process;
    process.setProcessEnvironment(DesktopEnvironment(elsewhere.path()));
    process.setWorkingDirectory(elsewhere.path());
    process.start(QStringLiteral("/bin/sh"),
                  {QStringLiteral("-c"), QStringLiteral("exec velkaro")});
    QVERIFY(process.waitForStarted());
    // What the kernel reports is what QCoreApplication::applicationDirPath()
    // reads: the program's real file, with the link resolved. Until the
    // shell has replaced itself it shows the shell.
    const QString proc = QStringLiteral("/proc/%1/").arg(process.processId());
    const QString program = QFileInfo(m_appDir + "/velkaro").canonicalFilePath();
    QTRY_COMPARE_WITH_TIMEOUT(QFile::symLinkTarget(proc + "exe"), program, 10000);
    QCOMPARE(QFile::symLinkTarget(proc + "cwd"), QFileInfo(elsewhere.path()).canonicalFilePath());

    // It keeps running: a missing library or platform plugin would end it at once.
    const bool ended = process.waitForFinished(1000);
    const QString errors = QString::fromLocal8Bit(process.readAllStandardError());
    process.kill();
    process.waitForFinished();
    QVERIFY2(!ended, qPrintable("velkaro endete: " + errors));
    QVERIFY2(!errors.contains(QLatin1String("qt.qpa.plugin")), qPrintable(errors));
}

void InstallTest::okCopiesTheInstalledLauncher()
{
    if (!VELKARO_LAUNCHER_BUILT)
        QSKIP("Pirolo.Exe wurde nicht gebaut (mingw-w64 fehlt).");
    // The probe runs the OK command from beside the installed program,
    // started through a link made like bin/velkaro.
    QVERIFY(QFile::copy(QStringLiteral(VELKARO_PROBE), m_appDir + "/velkaro-probe"));
    const QString target = LinkText(Prefixed(QStringLiteral(VELKARO_INSTALL_BINDIR "/velkaro")));
    QVERIFY(!target.isEmpty());
    const QString probeLink = Prefixed(QStringLiteral(VELKARO_INSTALL_BINDIR "/velkaro-probe"));
    QVERIFY(QFile::link(target + "-probe", probeLink));

    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    const QString cdRoot = elsewhere.filePath(QStringLiteral("CD"));
    QVERIFY(QDir().mkpath(cdRoot));
    QFile start(cdRoot + "/start.htm");
    QVERIFY(start.open(QIODevice::WriteOnly));
    start.close();

    const Run probe =
        RunProgram(QStringLiteral("/bin/sh"),
                   {QStringLiteral("-c"), QStringLiteral("exec velkaro-probe \"$0\""), cdRoot},
                   elsewhere.path(), DesktopEnvironment(elsewhere.path()));
    QFile::remove(probeLink);
    QFile::remove(m_appDir + "/velkaro-probe");
    QVERIFY2(probe.exitCode == 0, qPrintable(probe.out + probe.err));
    QVERIFY2(probe.out.contains("ProgramFolder=" + QFileInfo(m_appDir).canonicalFilePath() + "/\n"),
             qPrintable(probe.out));
    QCOMPARE(ReadAll(cdRoot + "/Pirolo.Exe"), ReadAll(m_appDir + "/Pirolo.Exe"));
    QVERIFY(ReadAll(cdRoot + "/AutoRun.Inf").contains("open = Pirolo.Exe"));
}

void InstallTest::imageCompanionRunsFromThePath()
{
    const QString command = Prefixed(QStringLiteral(VELKARO_INSTALL_BINDIR "/velkaro-image"));
    if (!VELKARO_IMAGE_BUILT) {
        QVERIFY(!QFileInfo::exists(command));
        QSKIP("velkaro-image wurde nicht gebaut (libisofs-dev fehlt).");
    }
    // Beside velkaro, with a relative link on the PATH like bin/velkaro.
    QVERIFY2(QFileInfo(command).isSymLink(), qPrintable(command));
    QVERIFY(QDir::isRelativePath(LinkText(command)));
    QCOMPARE(QFileInfo(command).canonicalFilePath(),
             QFileInfo(m_appDir + "/velkaro-image").canonicalFilePath());

    // From another folder, by name: velkaro-autostart, through its link in
    // bin/ like velkaro-image, makes a CD root with the installed launcher;
    // it becomes an image, and the image passes the check.
    const QString autostart = Prefixed(QStringLiteral(VELKARO_INSTALL_BINDIR "/velkaro-autostart"));
    QVERIFY(QDir::isRelativePath(LinkText(autostart)));
    QTemporaryDir elsewhere;
    QVERIFY(elsewhere.isValid());
    const QString cdRoot = elsewhere.filePath(QStringLiteral("CD"));
    QVERIFY(QDir().mkpath(cdRoot));
    if (!VELKARO_LAUNCHER_BUILT) {
        QFile launcher(m_appDir + "/Pirolo.Exe");
        QVERIFY(launcher.open(QIODevice::WriteOnly) && launcher.write("MZ") == 2);
    }
    const Run made = RunProgram(
        QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QStringLiteral("exec velkaro-autostart CD --open . --folder")},
        elsewhere.path(), DesktopEnvironment(elsewhere.path()));
    QVERIFY2(made.exitCode == 0, qPrintable(made.out + made.err));
    QCOMPARE(ReadAll(cdRoot + "/Pirolo.Exe"), ReadAll(m_appDir + "/Pirolo.Exe"));
    const Run image = RunProgram(QStringLiteral("/bin/sh"),
                                 {QStringLiteral("-c"), QStringLiteral("exec velkaro-image CD")},
                                 elsewhere.path(), DesktopEnvironment(elsewhere.path()));
    QVERIFY2(image.exitCode == 0, qPrintable(image.out + image.err));
    const Run check =
        RunProgram(QStringLiteral("/bin/sh"),
                   {QStringLiteral("-c"), QStringLiteral("exec velkaro-image --check CD.iso")},
                   elsewhere.path(), DesktopEnvironment(elsewhere.path()));
    QVERIFY2(check.exitCode == 0, qPrintable(check.out + check.err));
    QVERIFY(check.out.contains(QStringLiteral("OK      open: Pirolo.Exe\n")));
}

void InstallTest::desktopFindsEntryIconAndMetadata()
{
    const QString id = QStringLiteral(VELKARO_APP_ID);
    const QString share = Prefixed(QStringLiteral(VELKARO_INSTALL_DATAROOTDIR));
    const QString desktopFile = share + "/applications/" + id + ".desktop";
    const auto entry = DesktopEntry(desktopFile);
    QCOMPARE(entry.value("Name"), QStringLiteral("Velkaro 2005"));
    QVERIFY(!entry.value("Comment").isEmpty());
    QVERIFY(!entry.value("Comment[de]").isEmpty());
    QVERIFY(entry.value("Comment[de]") != entry.value("Comment"));
    // The command of the entry is the one installed on the PATH.
    const QString binDir = Prefixed(QStringLiteral(VELKARO_INSTALL_BINDIR));
    for (const QString& key : {QStringLiteral("Exec"), QStringLiteral("TryExec")}) {
        const QString command = entry.value(key).section(QLatin1Char(' '), 0, 0);
        QVERIFY2(!QStandardPaths::findExecutable(command, {binDir}).isEmpty(), qPrintable(key));
    }

    // Every size the desktops ask for, each picture exactly that size.
    const QString icon = entry.value("Icon");
    QCOMPARE(icon, id);
    for (const int size : {16, 32, 48, 64, 128, 256}) {
        const QString path =
            share + QStringLiteral("/icons/hicolor/%1x%1/apps/").arg(size) + icon + ".png";
        const QImage image(path);
        QVERIFY2(!image.isNull(), qPrintable(path));
        QCOMPARE(image.size(), QSize(size, size));
    }
    QVERIFY(ReadAll(share + "/icons/hicolor/scalable/apps/" + icon + ".svg").contains("<svg"));

    // The AppStream data names the same entry, icon, command and version.
    QFile metainfo(share + "/metainfo/" + id + ".metainfo.xml");
    QVERIFY(metainfo.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&metainfo);
    QMap<QString, QString> found;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString name = xml.name().toString();
        if (name == QLatin1String("release")) {
            found.insert(name, xml.attributes().value("version").toString());
        } else if (name == QLatin1String("id") || name == QLatin1String("launchable") ||
                   name == QLatin1String("icon") || name == QLatin1String("binary")) {
            found.insert(name, xml.readElementText());
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QCOMPARE(found.value("id"), id);
    QCOMPARE(found.value("launchable"), QFileInfo(desktopFile).fileName());
    QCOMPARE(found.value("icon"), icon);
    QCOMPARE(found.value("release"), QStringLiteral(VELKARO_VERSION));
    QVERIFY(!QStandardPaths::findExecutable(found.value("binary"), {binDir}).isEmpty());
}

void InstallTest::installedTreeValidates()
{
    if (QStringLiteral(VELKARO_APPSTREAMCLI).isEmpty())
        QSKIP("appstreamcli fehlt (Debian-Paket appstream).");
    // Checks the AppStream data together with the desktop entry it names.
    const Run validate =
        RunProgram(QStringLiteral(VELKARO_APPSTREAMCLI),
                   {QStringLiteral("validate-tree"), QStringLiteral("--no-net"), m_prefix});
    QVERIFY2(validate.exitCode == 0, qPrintable(validate.out + validate.err));
}

void InstallTest::licenceAndNotices()
{
    const QString doc = Prefixed(QStringLiteral(VELKARO_INSTALL_DOCDIR));
    QCOMPARE(ReadAll(doc + "/LICENSE"), ReadAll(QStringLiteral(VELKARO_SOURCE_DIR "/LICENSE")));
    const QByteArray copyright = ReadAll(doc + "/copyright");
    QVERIFY(copyright.startsWith(
        "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"));
    QVERIFY(copyright.contains("License: GPL-3+"));
    QVERIFY(copyright.contains("License: public-domain"));
    QVERIFY(!copyright.contains("@VELKARO")); // every setting was filled in

    // Debian's changelog and the manual page, compressed.
    const Run changelog =
        RunProgram(QStringLiteral("gzip"), {QStringLiteral("-dc"), doc + "/changelog.gz"});
    QCOMPARE(changelog.exitCode, 0);
    QVERIFY2(changelog.out.startsWith(QStringLiteral("velkaro (" VELKARO_VERSION ") ")),
             qPrintable(changelog.out));
    const Run manual =
        RunProgram(QStringLiteral("gzip"),
                   {QStringLiteral("-dc"),
                    Prefixed(QStringLiteral(VELKARO_INSTALL_MANDIR "/man1/velkaro.1.gz"))});
    QCOMPARE(manual.exitCode, 0);
    QVERIFY(manual.out.startsWith(QLatin1String(".TH VELKARO 1")));
    const Run autostartManual = RunProgram(
        QStringLiteral("gzip"),
        {QStringLiteral("-dc"),
         Prefixed(QStringLiteral(VELKARO_INSTALL_MANDIR "/man1/velkaro-autostart.1.gz"))});
    QVERIFY(autostartManual.out.startsWith(QLatin1String(".TH VELKARO-AUTOSTART 1")));
    const QString imageManual =
        Prefixed(QStringLiteral(VELKARO_INSTALL_MANDIR "/man1/velkaro-image.1.gz"));
    if (VELKARO_IMAGE_BUILT) {
        const Run image = RunProgram(QStringLiteral("gzip"), {QStringLiteral("-dc"), imageManual});
        QCOMPARE(image.exitCode, 0);
        QVERIFY(image.out.startsWith(QLatin1String(".TH VELKARO-IMAGE 1")));
    } else {
        QVERIFY(!QFileInfo::exists(imageManual));
    }

    const QString iconNotice = QStringLiteral(VELKARO_SOURCE_DIR "/resources/iconlib/NOTICE");
    if (QFileInfo::exists(iconNotice)) {
        QCOMPARE(ReadAll(doc + "/NOTICE-iconlib"), ReadAll(iconNotice));
        QVERIFY(copyright.contains("NOTICE-iconlib"));
    } else {
        QVERIFY(!QFileInfo::exists(doc + "/NOTICE-iconlib"));
        QVERIFY(!copyright.contains("NOTICE-iconlib"));
    }
}

QTEST_MAIN(InstallTest)
#include "tst_install.moc"

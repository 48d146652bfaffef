// The OK command against failing disks: whatever fails, the message says so,
// the files that were there before are intact, and nothing half written stays.
#include "Autostart.h"
#include "FaultyDisk.h"
#include "FileHelpers.h"
#include "MainIconList.h"
#include "Messages.h"
#include "Project.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using namespace velkaro;
using velkaro::test::ReadAll;
using velkaro::test::WriteRaw;

namespace {

QStringList Entries(const QString& folder)
{
    QStringList names =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

} // namespace

class OkFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void diskFullInTheMiddleOfEachFile_data();
    void diskFullInTheMiddleOfEachFile();
    void folderRemovedBetweenCheckAndWrite();
    void realFullDisk();

private:
    std::optional<test::TestEnvironment> m_test;
    QTemporaryDir m_tmp;
    QString m_root;
    QString m_program;
    AutostartEnvironment m_env;
    test::FaultyDisk m_disk;
    Project* m_project = nullptr;
};

void OkFaultsTest::init()
{
    m_test.emplace();
    QDir(m_tmp.path()).removeRecursively();
    // As the program has them: with the system's separator.
    m_root = QDir::toNativeSeparators(m_tmp.filePath("cd/"));
    m_program = QDir::toNativeSeparators(m_tmp.filePath("programm/"));
    QVERIFY(QDir().mkpath(m_root));
    QVERIFY(QDir().mkpath(m_program));
    // A launcher of several pieces, so that a copy can fail between two.
    WriteRaw(m_program + "Pirolo.Exe", QByteArray(700 * 1024, 'N'));
    m_env.programFolder = m_program;
    m_disk = {};
    m_env.disk = &m_disk;

    m_project = new Project;
    m_project->TakeCdRoot(m_root);
    m_project->AcceptSlotPath(1, m_root);
    m_project->setIconSlot(IconSource::Library);
    m_project->setIcon({MainIconListPicture(2).image, QByteArray(5000, 'I')});
}

void OkFaultsTest::cleanup()
{
    delete m_project;
    m_test.reset();
}

void OkFaultsTest::diskFullInTheMiddleOfEachFile_data()
{
    QTest::addColumn<QString>("failing");
    QTest::addColumn<QString>("messageStart");
    QTest::addColumn<QStringList>("replaced"); // files that already hold the new content
    QTest::newRow("AutoRun.Inf") << "AutoRun.Inf"
                                 << "Die CD-Autostart-Einstellungen konnten nicht gespeichert"
                                 << QStringList{};
    QTest::newRow("launcher copy")
        << "Pirolo.Exe"
        << "Die für einen korrekten CD-Autostart notwendige Datei" << QStringList{"AutoRun.Inf"};
    QTest::newRow("AutoRun.Ico") << "AutoRun.Ico"
                                 << "Das von Ihnen ausgewählte Icon konnte nicht"
                                 << QStringList{"AutoRun.Inf", "Pirolo.Exe"};
}

void OkFaultsTest::diskFullInTheMiddleOfEachFile()
{
    QFETCH(QString, failing);
    QFETCH(QString, messageStart);
    QFETCH(QStringList, replaced);

    // An earlier run left all three files.
    WriteRaw(m_root + "AutoRun.Inf", "old autorun");
    WriteRaw(m_root + "Pirolo.Exe", "old launcher");
    WriteRaw(m_root + "AutoRun.Ico", "old icon");
    const QStringList before = Entries(m_root);

    m_disk.fullAt = failing;
    QCOMPARE(WriteAutostart(*m_project, m_env), AutostartOutcome::Failed);

    const QList<ShownMessage> shown = m_test->messages().takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().text.startsWith(messageStart), qPrintable(shown.first().text));
    QVERIFY(shown.first().text.endsWith("    Datenträger voll (Code 61)"));
    QCOMPARE(shown.first().icon, MessageIcon::Error);

    // The failing file and the ones after it are the old ones, whole; no
    // temporary file is left behind.
    QCOMPARE(Entries(m_root), before);
    const QMap<QString, QByteArray> old{{"AutoRun.Inf", "old autorun"},
                                        {"Pirolo.Exe", "old launcher"},
                                        {"AutoRun.Ico", "old icon"}};
    for (auto it = old.begin(); it != old.end(); ++it) {
        if (replaced.contains(it.key()))
            QVERIFY2(ReadAll(m_root + it.key()) != it.value(), qPrintable(it.key()));
        else
            QCOMPARE(ReadAll(m_root + it.key()), it.value());
    }
    if (replaced.contains("Pirolo.Exe"))
        QCOMPARE(ReadAll(m_root + "Pirolo.Exe"), QByteArray(700 * 1024, 'N'));
}

void OkFaultsTest::folderRemovedBetweenCheckAndWrite()
{
#ifdef Q_OS_WIN
    QSKIP("Windows removes no folder while a file in it is open for writing");
#endif
    const QString root = m_root;
    m_disk.beforePiece = [root] { QDir(root).removeRecursively(); };
    QCOMPARE(WriteAutostart(*m_project, m_env), AutostartOutcome::Failed);
    const QList<ShownMessage> shown = m_test->messages().takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().text, "Die CD-Autostart-Einstellungen konnten nicht gespeichert "
                                 "werden. Beim Schreiben der Datei\r\r    " +
                                     m_root +
                                     "AutoRun.Inf\r\rkam es zu folgendem Fehler:\r\r"
                                     "    Pfad nicht gefunden (Code 76)");
    QVERIFY(!QFileInfo::exists(m_root));
}

void OkFaultsTest::realFullDisk()
{
    // A tiny file system of its own; needs the right to mount one.
    const QString mountPoint = m_tmp.filePath("tiny");
    QVERIFY(QDir().mkpath(mountPoint));
    QProcess mount;
    mount.start("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", mountPoint});
    if (!mount.waitForFinished(10000) || mount.exitStatus() != QProcess::NormalExit ||
        mount.exitCode() != 0)
        QSKIP("no small file system can be mounted here");
    const auto unmount = qScopeGuard([&] { QProcess::execute("umount", {mountPoint}); });

    const QString root = mountPoint + "/cd/";
    QVERIFY(QDir().mkpath(root));
    WriteRaw(root + "AutoRun.Inf", "old autorun");
    // Fill the rest of the disk.
    QFile filler(root + "filler.bin");
    QVERIFY(filler.open(QIODevice::WriteOnly));
    const QByteArray block(1024, 'f');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();

    m_project->TakeCdRoot(root);
    m_project->AcceptSlotPath(1, root);
    QCOMPARE(WriteAutostart(*m_project, m_env), AutostartOutcome::Failed);
    const QList<ShownMessage> shown = m_test->messages().takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.first().text.endsWith("    Datenträger voll (Code 61)"),
             qPrintable(shown.first().text));
    QCOMPARE(ReadAll(root + "AutoRun.Inf"), QByteArray("old autorun"));
    QCOMPARE(Entries(root), (QStringList{"AutoRun.Inf", "filler.bin"}));
}

QTEST_GUILESS_MAIN(OkFaultsTest)
#include "tst_okfaults.moc"

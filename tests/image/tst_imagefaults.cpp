// What velkaro-image leaves behind when it cannot finish: a wrong call, a
// target it cannot use, a full disk, an interrupt. The old image stays as it
// was and no temporary file is left.

#include "ImageTestSupport.h"

#include <QElapsedTimer>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <csignal>

using namespace velkaro::test;

class ImageFaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void wrongCalls_data();
    void wrongCalls();
    void unusableTarget_data();
    void unusableTarget();
    void fullDisk();
    void interrupt_data();
    void interrupt();

private:
    QTemporaryDir m_tmp;
    QString m_root;
};

void ImageFaultsTest::init()
{
    QDir(m_tmp.path()).removeRecursively();
    QVERIFY(QDir().mkpath(m_tmp.path()));
    m_root = m_tmp.filePath("CD");
    MakeDisc(m_root, "open = Pirolo.Exe \"\\\"\r\n");
}

void ImageFaultsTest::wrongCalls_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing") << QStringList{}
                             << QStringLiteral("Bitte nennen Sie das CD-Hauptverzeichnis.");
    QTest::newRow("unknown option")
        << QStringList{"--iso", "x"} << QStringLiteral("Unbekannte Option „--iso“.");
    QTest::newRow("-o without a file")
        << QStringList{"CD", "-o"} << QStringLiteral("Nach „-o“ fehlt der Name der Abbilddatei.");
    QTest::newRow("--output= without a file")
        << QStringList{"CD", "--output="}
        << QStringLiteral("Nach „--output“ fehlt der Name der Abbilddatei.");
    QTest::newRow("a value for a switch")
        << QStringList{"--help=ja"} << QStringLiteral("„--help“ nimmt keinen Wert.");
    // Short options run together as the parser reads them: -h, then -x.
    QTest::newRow("unknown among short options")
        << QStringList{"CD", "-hx"} << QStringLiteral("Unbekannte Option „-x“.");
    QTest::newRow("a value for a short switch")
        << QStringList{"-h=ja"} << QStringLiteral("„-h“ nimmt keinen Wert.");
    QTest::newRow("--output takes the next argument, even an option")
        << QStringList{"--output", "--label"}
        << QStringLiteral("Bitte nennen Sie das CD-Hauptverzeichnis.");
    QTest::newRow("two roots") << QStringList{"CD", "CD2"}
                               << QStringLiteral("Bitte nennen Sie nur ein CD-Hauptverzeichnis.");
    QTest::newRow("check with a label") << QStringList{"--check", "CD", "--label", "X"}
                                        << QStringLiteral("--check nimmt nur ein Abbild oder ein "
                                                          "CD-Hauptverzeichnis.");
}

void ImageFaultsTest::wrongCalls()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run run = RunImage(arguments);
    QCOMPARE(run.exitCode, 2);
    QCOMPARE(QString::fromUtf8(run.err), message + "\nHilfe: velkaro-image --help\n");

    const Run help = RunImage({"--help"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.startsWith("Aufruf: velkaro-image CD-HAUPTVERZEICHNIS [-o DATEI.iso]"));
}

void ImageFaultsTest::unusableTarget_data()
{
    // Root ignores permission bits, so a target folder fails in other ways.
    QTest::addColumn<QString>("target"); // below the temporary folder
    QTest::addColumn<QString>("message");
    QTest::newRow("folder is a file") << "datei/CD.iso"
                                      << "„%1/datei“ ist kein Ordner; dort kann "
                                         "kein Abbild liegen.";
    QTest::newRow("folder missing") << "fehlt/CD.iso"
                                    << "Den Ordner „%1/fehlt“ für das Abbild gibt es nicht.";
    QTest::newRow("target is a folder") << "ordner"
                                        << "„%1/ordner“ ist ein Ordner; bitte nennen Sie mit -o "
                                           "eine Datei für das Abbild.";
    QTest::newRow("inside the CD root")
        << "CD/bilder/CD.iso"
        << "Das Abbild „%1/CD/bilder/CD.iso“ läge im CD-Hauptverzeichnis „%1/CD“ und käme so auf "
           "die nächste CD. Bitte legen Sie es außerhalb ab (-o).";
    QTest::newRow("a name too long for the file system") << QString(300, 'n') + ".iso"
                                                         << "Neben „%1/" + QString(300, 'n') +
                                                                ".iso“ lässt sich keine "
                                                                "Datei anlegen:";
}

void ImageFaultsTest::unusableTarget()
{
    QFETCH(QString, target);
    QFETCH(QString, message);
    MakeFile(m_tmp.filePath("datei"), "eine Datei");
    QVERIFY(QDir().mkpath(m_tmp.filePath("ordner")));
    QVERIFY(QDir().mkpath(m_root + "/bilder"));
    const QStringList before = Entries(m_tmp.path());

    const Run run = RunImage({m_root, "-o", m_tmp.filePath(target)});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(QString::fromUtf8(run.err).startsWith(message.arg(m_tmp.path())), run.err.constData());
    QCOMPARE(Entries(m_tmp.path()), before);
    QCOMPARE(Entries(m_root), (QStringList{"AutoRun.Inf", "Pirolo.Exe", "bilder"}));
    QCOMPARE(ReadFile(m_tmp.filePath("datei")), QByteArray("eine Datei"));
}

void ImageFaultsTest::fullDisk()
{
    const QString small = m_tmp.filePath("klein");
    QVERIFY(QDir().mkpath(small));
    if (RunTool("mount", {"-t", "tmpfs", "-o", "size=1m", "tmpfs", small}).exitCode != 0)
        QSKIP("Hier lässt sich kein kleines Dateisystem einhängen (mount tmpfs).");
    const auto unmount = qScopeGuard([&] { RunTool("umount", {small}); });
    MakeFile(small + "/CD.iso", "das alte Abbild");
    QByteArray data(3 * 1024 * 1024, Qt::Uninitialized);
    for (qsizetype i = 0; i < data.size(); ++i)
        data[i] = char(i * 7919 % 251);
    MakeFile(m_root + "/daten.bin", data);

    const Run run = RunImage({m_root, "-o", small + "/CD.iso"});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(QString::fromUtf8(run.err),
             "„" + small + "/CD.iso“ ließ sich nicht schreiben: Datenträger voll (Code 61). „" +
                 small + "/CD.iso“ ist unverändert.\n");
    QCOMPARE(ReadFile(small + "/CD.iso"), QByteArray("das alte Abbild"));
    QCOMPARE(Entries(small), QStringList{"CD.iso"});
}

void ImageFaultsTest::interrupt_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("Ctrl-C") << int(SIGINT);
    QTest::newRow("SIGTERM") << int(SIGTERM);
}

void ImageFaultsTest::interrupt()
{
    QFETCH(int, signal);
    // A big tree that costs no disk: a sparse file of 1 GiB.
    QFile big(m_root + "/gross.bin");
    QVERIFY(big.open(QIODevice::WriteOnly));
    QVERIFY(big.resize(1024LL * 1024 * 1024));
    big.close();
    const QString image = m_tmp.filePath("CD.iso");
    MakeFile(image, "das alte Abbild");

    QProcess process;
    process.setProcessEnvironment(ImageEnvironment());
    process.start(QStringLiteral(VELKARO_IMAGE_PROGRAM), {m_root});
    QVERIFY(process.waitForStarted());
    // Once the temporary file has grown, the write is under way.
    QElapsedTimer clock;
    clock.start();
    bool writing = false;
    while (!writing && clock.elapsed() < 30000 && process.state() == QProcess::Running) {
        for (const QString& name : Entries(m_tmp.path())) {
            if (name.startsWith("CD.iso.") && QFileInfo(m_tmp.filePath(name)).size() > 0)
                writing = true;
        }
        if (!writing)
            QTest::qSleep(2);
    }
    QVERIFY2(writing, "the write was never seen under way");
    QCOMPARE(::kill(pid_t(process.processId()), signal), 0);
    QVERIFY(process.waitForFinished(30000));

    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 128 + signal);
    QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
             "Abgebrochen. „" + image + "“ ist unverändert.\n");
    QCOMPARE(ReadFile(image), QByteArray("das alte Abbild"));
    QCOMPARE(Entries(m_tmp.path()), (QStringList{"CD", "CD.iso"}));
}

QTEST_GUILESS_MAIN(ImageFaultsTest)
#include "tst_imagefaults.moc"

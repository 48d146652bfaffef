#include "Dialogs.h"
#include "IcoFiles.h"
#include "IconFile.h"
#include "MainIconList.h"
#include "Messages.h"
#include "PathChoosers.h"
#include "Project.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using namespace velkaro;
using namespace velkaro::testing;

namespace {

const QString InvalidIconMessage = QStringLiteral(
    "Die angegebene Icon-Datei ist anscheinend nicht gültig.\rSie konnte nicht geladen "
    "werden.\r\rBitte wählen Sie daher ein neues Icon.");

enum class IconState
{
    None,
    Default,
    Library,
    File
};

} // namespace

class TestIconFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void iconFileLoads_data();
    void iconFileLoads();
    void severalPicturesInOneFile_data();
    void severalPicturesInOneFile();
    void headerClaimingTooManyPictures();
    void notAPictureEmptiesTheSlot_data();
    void notAPictureEmptiesTheSlot();
    void iconFileOutsideRootRefused();
    void cancelInLibraryStateKeepsIt();
    void cancelInFileStateLoadsAgain();
    void standardAndKeinBeforeAndAfterARoot();

private:
    std::optional<test::TestEnvironment> m_test;
    QString inRoot(const QString& name) const
    {
        return QDir::toNativeSeparators(m_tmp->filePath(QStringLiteral("CD/") + name));
    }
    void takeRoot(Project& project);
    void putIntoState(Project& project, IconState state);

    std::unique_ptr<QTemporaryDir> m_tmp;
    IconPicture m_libraryPicture{SolidImage(32, qRgb(0, 0, 255)), QByteArray("library bytes")};
};

void TestIconFile::init()
{
    m_tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tmp->isValid());
    QVERIFY(QDir(m_tmp->path()).mkpath(QStringLiteral("CD")));
    m_test.emplace();
}

void TestIconFile::cleanup()
{
    m_test.reset();
    m_tmp.reset();
}

void TestIconFile::takeRoot(Project& project)
{
    m_test->presenter().setNextFolderResult(
        QDir::toNativeSeparators(m_tmp->filePath(QStringLiteral("CD"))));
    project.TakeCdRoot(BrowseForFolder(m_test->presenter(), nullptr, QString()));
    QVERIFY(!project.cdRootPath().isEmpty());
    m_test->presenter().takeRequests();
}

void TestIconFile::putIntoState(Project& project, IconState state)
{
    switch (state) {
    case IconState::None:
        ChooseNoIcon(project);
        break;
    case IconState::Default:
        ChooseDefaultIcon(project);
        break;
    case IconState::Library:
        project.setIconSlot(IconSource::Library);
        project.setIcon(m_libraryPicture);
        break;
    case IconState::File: {
        const QString good = inRoot(QStringLiteral("Gut.ico"));
        QVERIFY(WriteBytes(good, IcoBytes({SolidImage(32, qRgb(0, 255, 0))})));
        m_test->presenter().setNextFileResult(good);
        ChooseIconFile(project, m_test->presenter(), nullptr);
        QCOMPARE(project.slot(Project::IconSlot), good);
        break;
    }
    }
}

void TestIconFile::iconFileLoads_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("expectedSize");
    QTest::addColumn<QRgb>("expectedColour");

    QTest::newRow("16 x 16 icon") << QStringLiteral("Klein.ico")
                                  << IcoBytes({SolidImage(16, qRgb(255, 0, 0))}) << QSize(16, 16)
                                  << qRgb(255, 0, 0);
    QTest::newRow("48 x 48 icon") << QStringLiteral("Gross.ico")
                                  << IcoBytes({SolidImage(48, qRgb(0, 128, 0))}) << QSize(48, 48)
                                  << qRgb(0, 128, 0);

    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    SolidImage(20, qRgb(10, 20, 30)).save(&buffer, "PNG");
    QTest::newRow("PNG picture") << QStringLiteral("Bild.png") << png << QSize(20, 20)
                                 << qRgb(10, 20, 30);
    QTest::newRow("PNG named like an icon")
        << QStringLiteral("Bild.ico") << png << QSize(20, 20) << qRgb(10, 20, 30);
}

void TestIconFile::iconFileLoads()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, expectedSize);
    QFETCH(QRgb, expectedColour);
    QVERIFY(!bytes.isEmpty());
    Project project;
    takeRoot(project);
    const QString path = inRoot(name);
    QVERIFY(WriteBytes(path, bytes));

    m_test->presenter().setNextFileResult(path);
    ChooseIconFile(project, m_test->presenter(), nullptr);

    QVERIFY(m_test->messages().shown().isEmpty());
    QCOMPARE(project.slot(Project::IconSlot), path);
    QCOMPARE(project.icon().image.size(), expectedSize);
    QCOMPARE(project.icon().image.pixel(expectedSize.width() / 2, expectedSize.height() / 2),
             expectedColour);
    QCOMPARE(project.icon().fileBytes, bytes);
}

void TestIconFile::severalPicturesInOneFile_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QSize>("expectedSize");
    QTest::addColumn<QRgb>("expectedColour");

    const QRgb c16 = qRgb(255, 0, 0);
    const QRgb c32 = qRgb(0, 255, 0);
    const QRgb c48 = qRgb(0, 0, 255);
    QTest::newRow("16, 32, 48: the 32")
        << IcoBytes({SolidImage(16, c16), SolidImage(32, c32), SolidImage(48, c48)})
        << QSize(32, 32) << c32;
    QTest::newRow("48, 32, 16: the 32")
        << IcoBytes({SolidImage(48, c48), SolidImage(32, c32), SolidImage(16, c16)})
        << QSize(32, 32) << c32;
    QTest::newRow("16 and 48: the largest")
        << IcoBytes({SolidImage(16, c16), SolidImage(48, c48)}) << QSize(48, 48) << c48;
    QTest::newRow("48 and 16: the largest")
        << IcoBytes({SolidImage(48, c48), SolidImage(16, c16)}) << QSize(48, 48) << c48;

    // The program's own disc icon: three sizes.
    QFile disc(QStringLiteral(":/mainiconlist/disc.ico"));
    QVERIFY(disc.open(QIODevice::ReadOnly));
    QTest::newRow("disc icon") << disc.readAll() << QSize(32, 32)
                               << MainIconListPicture(2).image.pixel(16, 16);
}

void TestIconFile::severalPicturesInOneFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QSize, expectedSize);
    QFETCH(QRgb, expectedColour);
    const QString path = m_tmp->filePath(QStringLiteral("Mehrere.ico"));
    QVERIFY(WriteBytes(path, bytes));
    const std::optional<IconPicture> picture = LoadIconFile(path);
    QVERIFY(picture.has_value());
    QCOMPARE(picture->image.size(), expectedSize);
    QCOMPARE(picture->image.pixel(16, 16), expectedColour);
    QCOMPARE(picture->fileBytes, bytes);
}

namespace {
int g_warnings = 0;
void CountWarnings(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type == QtWarningMsg)
        ++g_warnings;
}
} // namespace

void TestIconFile::headerClaimingTooManyPictures()
{
    // Two real pictures under a directory that claims 65535. Qt tries to read
    // every claimed entry, and warns for each one beyond the file's end; the
    // loader must stop at what the file has room for and still find the 32.
    QByteArray bytes = IcoBytes({SolidImage(16, qRgb(255, 0, 0)), SolidImage(32, qRgb(0, 255, 0))});
    QVERIFY(!bytes.isEmpty());
    qToLittleEndian<quint16>(0xFFFF, bytes.data() + 4);
    const QString path = m_tmp->filePath(QStringLiteral("Prahlt.ico"));
    QVERIFY(WriteBytes(path, bytes));

    g_warnings = 0;
    const QtMessageHandler previous = qInstallMessageHandler(CountWarnings);
    const std::optional<IconPicture> picture = LoadIconFile(path);
    qInstallMessageHandler(previous);

    QVERIFY(picture.has_value());
    QCOMPARE(picture->image.size(), QSize(32, 32));
    QCOMPARE(picture->image.pixel(16, 16), qRgb(0, 255, 0));
    QCOMPARE(picture->fileBytes, bytes);
    QVERIFY2(g_warnings < bytes.size() / 8, qPrintable(QString::number(g_warnings)));
}

void TestIconFile::notAPictureEmptiesTheSlot_data()
{
    QTest::addColumn<int>("stateBefore");
    QTest::addColumn<QByteArray>("content");
    const QByteArray text("Dies ist kein Bild.\r\n");
    QByteArray brokenIco = IcoBytes({SolidImage(32, qRgb(1, 2, 3))});
    brokenIco.truncate(30);
    QTest::newRow("text, was None") << int(IconState::None) << text;
    QTest::newRow("text, was Default") << int(IconState::Default) << text;
    QTest::newRow("text, was Library") << int(IconState::Library) << text;
    QTest::newRow("text, was File") << int(IconState::File) << text;
    QTest::newRow("empty file") << int(IconState::Default) << QByteArray();
    QTest::newRow("cut-off icon") << int(IconState::Library) << brokenIco;
}

void TestIconFile::notAPictureEmptiesTheSlot()
{
    QFETCH(int, stateBefore);
    QFETCH(QByteArray, content);
    Project project;
    takeRoot(project);
    putIntoState(project, IconState(stateBefore));
    QVERIFY(m_test->messages().takeShown().isEmpty());

    const QString path = inRoot(QStringLiteral("Kaputt.ico"));
    QVERIFY(WriteBytes(path, content));
    m_test->presenter().setNextFileResult(path);
    ChooseIconFile(project, m_test->presenter(), nullptr);

    const QList<ShownMessage> shown = m_test->messages().takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).text, InvalidIconMessage);
    QCOMPARE(shown.at(0).icon, MessageIcon::Error);
    QCOMPARE(shown.at(0).buttons, MessageButtons::Ok);
    QCOMPARE(project.iconSource(), IconSource::None);
    QCOMPARE(project.icon(), MainIconListPicture(5));
}

void TestIconFile::iconFileOutsideRootRefused()
{
    Project project;
    takeRoot(project);
    ChooseDefaultIcon(project);
    const QString outside = QDir::toNativeSeparators(m_tmp->filePath(QStringLiteral("Fremd.ico")));
    QVERIFY(WriteBytes(outside, IcoBytes({SolidImage(32, qRgb(9, 9, 9))})));

    m_test->presenter().setNextFileResult(outside);
    m_test->messages().setNextAnswer(MessageAnswer::No);
    ChooseIconFile(project, m_test->presenter(), nullptr);

    const QList<ShownMessage> shown = m_test->messages().takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).buttons, MessageButtons::YesNo);
    QCOMPARE(project.iconSource(), IconSource::Launcher);
    QCOMPARE(project.icon(), MainIconListPicture(2));
}

void TestIconFile::cancelInLibraryStateKeepsIt()
{
    Project project;
    takeRoot(project);
    putIntoState(project, IconState::Library);
    ChooseIconFile(project, m_test->presenter(), nullptr); // nothing queued: Cancel
    QCOMPARE(m_test->presenter().takeRequests().size(), 1);
    QVERIFY(m_test->messages().shown().isEmpty());
    QCOMPARE(project.iconSource(), IconSource::Library);
    QCOMPARE(project.icon(), m_libraryPicture);
}

void TestIconFile::cancelInFileStateLoadsAgain()
{
    Project project;
    takeRoot(project);
    putIntoState(project, IconState::File);
    const QString path = project.slot(Project::IconSlot);
    const IconPicture loaded = project.icon();
    QCOMPARE(loaded.image.pixel(0, 0), qRgb(0, 255, 0));

    // The file is still there: the same picture again, no message.
    ChooseIconFile(project, m_test->presenter(), nullptr);
    QVERIFY(m_test->messages().shown().isEmpty());
    QCOMPARE(project.slot(Project::IconSlot), path);
    QCOMPARE(project.icon(), loaded);

    // The file was changed meanwhile: the picture follows it.
    QVERIFY(WriteBytes(path, IcoBytes({SolidImage(32, qRgb(255, 255, 0))})));
    ChooseIconFile(project, m_test->presenter(), nullptr);
    QCOMPARE(project.icon().image.pixel(0, 0), qRgb(255, 255, 0));

    // The file was deleted meanwhile: the message, then no icon.
    QVERIFY(QFile::remove(path));
    ChooseIconFile(project, m_test->presenter(), nullptr);
    const QList<ShownMessage> shown = m_test->messages().takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).text, InvalidIconMessage);
    QCOMPARE(project.iconSource(), IconSource::None);
    QCOMPARE(project.icon(), MainIconListPicture(5));
}

void TestIconFile::standardAndKeinBeforeAndAfterARoot()
{
    Project project;
    ChooseDefaultIcon(project);
    QCOMPARE(project.iconSource(), IconSource::Launcher);
    QCOMPARE(project.icon(), MainIconListPicture(2));
    QCOMPARE(project.icon().image.size(), QSize(32, 32));

    // A root chosen afterwards empties it again.
    takeRoot(project);
    QCOMPARE(project.iconSource(), IconSource::None);
    QCOMPARE(project.icon(), MainIconListPicture(5));

    putIntoState(project, IconState::File);
    ChooseNoIcon(project);
    QCOMPARE(project.iconSource(), IconSource::None);
    QCOMPARE(project.icon(), MainIconListPicture(5));
    // Without an own file nothing is loaded and nothing is said.
    VerifyIconFile(project);
    QVERIFY(m_test->messages().shown().isEmpty());
    QCOMPARE(project.iconSource(), IconSource::None);
}

QTEST_MAIN(TestIconFile)
#include "tst_iconfile.moc"

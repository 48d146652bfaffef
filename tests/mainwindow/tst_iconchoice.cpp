// The shared library and ApplyLibraryIcon: what a picked icon puts into the
// project, and that nothing else changes it.

#include "IconChoice.h"
#include "IconLibrary.h"
#include "MainIconList.h"
#include "Project.h"

#include <QFile>
#include <QtTest>

using namespace velkaro;

class IconChoiceTest : public QObject
{
    Q_OBJECT

private slots:
    void libraryIsNotReadBeforeItIsNeeded();
    void libraryIsReadOnceAndShared();
    void numbersOutsideTheLibraryGiveNothing();
    void pickedIconEntersTheProject_data();
    void pickedIconEntersTheProject();
    void noPickLeavesTheProjectAlone_data();
    void noPickLeavesTheProjectAlone();
};

namespace {

QByteArray ResourceBytes(int n)
{
    QFile file(IconLibrary::resourcePath(n));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The icon slot in each of its states before the library is used.
void PutSlotInState(Project& project, const QString& state)
{
    if (state == "none") {
        project.ClearSlot(Project::IconSlot);
    } else if (state == "default") {
        project.setIconSlot(IconSource::Launcher);
        project.setIcon(MainIconListPicture(2));
    } else if (state == "file") {
        project.setSlot(Project::IconSlot, QStringLiteral("/cd/bilder/eigenes.ico"));
        project.setIcon(IconPicture{QImage(16, 16, QImage::Format_ARGB32), "file bytes"});
    } else if (state == "library") {
        ApplyLibraryIcon(project, 17);
    }
}

} // namespace

void IconChoiceTest::libraryIsNotReadBeforeItIsNeeded()
{
    // Runs first: the application and a project exist, the library is unread.
    Project project;
    PutSlotInState(project, "default");
    QVERIFY(!IconLibrary::isLoaded());
    ApplyLibraryIcon(project, 0);
    QVERIFY2(!IconLibrary::isLoaded(), "no icon picked, yet the library was read");
}

void IconChoiceTest::libraryIsReadOnceAndShared()
{
    const IconLibrary& first = IconLibrary::instance();
    QVERIFY(IconLibrary::isLoaded());
    QCOMPARE(&IconLibrary::instance(), &first);
    QCOMPARE(first.count(), 511);
    // The same decoded picture and icon every time, not a new decoding.
    QCOMPARE(first.picture(200).cacheKey(), first.picture(200).cacheKey());
    QCOMPARE(first.icon(200).cacheKey(), first.icon(200).cacheKey());
    QCOMPARE(first.picture(200).size(), QSize(32, 32));
    QVERIFY(first.picture(200) != first.picture(201));
}

void IconChoiceTest::numbersOutsideTheLibraryGiveNothing()
{
    const IconLibrary& library = IconLibrary::instance();
    for (int n : {-1, 0, 512, 100000}) {
        QVERIFY(library.picture(n).isNull());
        QVERIFY(library.fileBytes(n).isEmpty());
        QVERIFY(library.icon(n).isNull());
    }
    QVERIFY(!library.picture(1).isNull());
    QVERIFY(!library.picture(511).isNull());
}

void IconChoiceTest::pickedIconEntersTheProject_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("number");
    QTest::newRow("no icon, 200") << "none" << 200;
    QTest::newRow("launcher's icon, 200") << "default" << 200;
    QTest::newRow("icon file, 1") << "file" << 1;
    QTest::newRow("another library icon, 511") << "library" << 511;
}

void IconChoiceTest::pickedIconEntersTheProject()
{
    QFETCH(QString, before);
    QFETCH(int, number);
    Project project;
    PutSlotInState(project, before);
    QSignalSpy iconChanged(&project, &Project::iconChanged);

    ApplyLibraryIcon(project, number);

    QCOMPARE(project.iconSource(), IconSource::Library);
    // The OK command writes these bytes as AutoRun.Ico: the library's own file.
    QCOMPARE(project.icon().fileBytes, ResourceBytes(number));
    QCOMPARE(project.icon().image, IconLibrary::instance().picture(number));
    QCOMPARE(project.icon().image.size(), QSize(32, 32));
    QCOMPARE(iconChanged.count(), 1);
}

void IconChoiceTest::noPickLeavesTheProjectAlone_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("number");
    for (const char* state : {"none", "default", "file", "library"}) {
        QTest::addRow("%s, nothing picked", state) << state << 0;
        QTest::addRow("%s, number past the end", state) << state << 512;
        QTest::addRow("%s, negative number", state) << state << -5;
    }
}

void IconChoiceTest::noPickLeavesTheProjectAlone()
{
    QFETCH(QString, before);
    QFETCH(int, number);
    Project project;
    PutSlotInState(project, before);
    const ProjectData was = project.data();
    QSignalSpy slotChanged(&project, &Project::slotChanged);
    QSignalSpy iconChanged(&project, &Project::iconChanged);

    ApplyLibraryIcon(project, number);

    QVERIFY(project.data() == was);
    QCOMPARE(slotChanged.count(), 0);
    QCOMPARE(iconChanged.count(), 0);
}

QTEST_MAIN(IconChoiceTest)
#include "tst_iconchoice.moc"

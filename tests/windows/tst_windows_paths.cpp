// The case-insensitive inside-the-root test of src/core with Windows paths.
#include "Project.h"

#include <QTest>

using namespace velkaro;

class WindowsPathsTest : public QObject
{
    Q_OBJECT

private slots:
    void insideCdRoot_data();
    void insideCdRoot();
    void chosenPathsTakeBackslashes();
};

void WindowsPathsTest::insideCdRoot_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("inside");

    QTest::newRow("other case") << "c:\\cd\\"
                                << "C:\\CD\\Start" << true;
    QTest::newRow("root without its separator") << "c:\\cd"
                                                << "C:\\CD\\Start\\index.htm" << true;
    QTest::newRow("neighbour with same prefix") << "c:\\cd\\"
                                                << "C:\\CD-alt\\Start" << false;
    QTest::newRow("other drive") << "c:\\cd\\"
                                 << "D:\\CD\\Start" << false;
    QTest::newRow("drive root") << "C:\\"
                                << "c:\\cd\\Start" << true;
    QTest::newRow("root chosen with slashes") << "c:/cd"
                                              << "C:\\CD\\Start" << true;
}

void WindowsPathsTest::insideCdRoot()
{
    QFETCH(QString, root);
    QFETCH(QString, path);
    QFETCH(bool, inside);
    Project project;
    project.TakeCdRoot(root);
    QCOMPARE(project.IsInsideCdRoot(path), inside);
}

// Qt's dialogs give "/" on Windows too; the disc entries are made from the
// slots and need the system's own separator.
void WindowsPathsTest::chosenPathsTakeBackslashes()
{
    Project project;
    project.TakeCdRoot(QStringLiteral("C:/Projekte/CD"));
    QCOMPARE(project.slot(ProjectLayout::CdRootSlot), QStringLiteral("C:\\Projekte\\CD\\"));
    project.AcceptSlotPath(ProjectLayout::TargetSlot,
                           QStringLiteral("C:/Projekte/CD/start/index.htm"));
    QCOMPARE(project.slot(ProjectLayout::TargetSlot),
             QStringLiteral("C:\\Projekte\\CD\\start\\index.htm"));
    QVERIFY(project.IsInsideCdRoot(project.slot(ProjectLayout::TargetSlot)));
}

QTEST_MAIN(WindowsPathsTest)
#include "tst_windows_paths.moc"

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

QTEST_MAIN(WindowsPathsTest)
#include "tst_windows_paths.moc"

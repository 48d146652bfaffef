#include "ContextRows.h"
#include "FileHelpers.h"
#include "MainIconList.h"
#include "Messages.h"
#include "Project.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using namespace velkaro;

class ProjectTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_test.emplace(); }
    void cleanup() { m_test.reset(); }
    void startState();
    void enabledStatesFollowTheProject();
    void clearSlot();
    void resetKeepsRootAndTargetKind();
    void newRootEmptiesEverything();
    void iconChoicesBeforeRootAreClearedByIt();
    void insideCdRoot_data();
    void insideCdRoot();
    void defaultMenuText_data();
    void defaultMenuText();
    void acceptedDocumentNamesAnEmptyRow();
    void checkContextRows_data();
    void checkContextRows();

private:
    std::optional<test::TestEnvironment> m_test;
    QTemporaryDir m_dir;
    QString root() const { return QDir::toNativeSeparators(m_dir.path()) + QDir::separator(); }
};

void ProjectTest::startState()
{
    Project project;
    for (int n = 0; n < Project::SlotCount; ++n)
        QCOMPARE(project.slot(n), QString());
    for (int row = 0; row < Project::RowCount; ++row)
        QCOMPARE(project.menuText(row), std::nullopt);
    QCOMPARE(project.iconSource(), IconSource::None);
    QCOMPARE(project.icon(), MainIconListPicture(5));
    QVERIFY(!project.icon().image.isNull());
    QCOMPARE(project.icon().image.size(), QSize(16, 16));
    QVERIFY(!project.targetIsFolder());
    QVERIFY(project.useLongNames());
    QVERIFY(project.cdRootPath().isEmpty());
    QVERIFY(!project.rootDependentEnabled());
    QVERIFY(!project.okEnabled());
}

void ProjectTest::enabledStatesFollowTheProject()
{
    Project project;
    QSignalSpy rootSpy(&project, &Project::rootDependentEnabledChanged);
    QSignalSpy okSpy(&project, &Project::okEnabledChanged);

    // no root -> root set
    project.TakeCdRoot(m_dir.path());
    QVERIFY(project.rootDependentEnabled());
    QVERIFY(!project.okEnabled());
    QCOMPARE(rootSpy.last().at(0).toBool(), true);

    // root set -> ready, as soon as slot 1 holds any path
    project.AcceptSlotPath(Project::TargetSlot, root() + "start/");
    project.UpdateOkButton();
    QVERIFY(project.okEnabled());
    QCOMPARE(okSpy.last().at(0).toBool(), true);

    // A blank or empty target is no target.
    for (const QString& target : {QStringLiteral("   "), QString()}) {
        project.setSlot(Project::TargetSlot, target);
        project.UpdateOkButton();
        QVERIFY(!project.okEnabled());
    }
}

void ProjectTest::clearSlot()
{
    Project project;
    project.TakeCdRoot(m_dir.path());
    for (int n = 1; n < Project::SlotCount; ++n)
        project.setSlot(n, root() + QString::number(n));
    for (int row = 0; row < Project::RowCount; ++row)
        project.setMenuText(row, QStringLiteral("Text"));
    project.setIcon(MainIconListPicture(2));
    project.UpdateOkButton();

    project.ClearSlot(3);
    QCOMPARE(project.slot(3), QString());
    QCOMPARE(project.menuText(1), std::nullopt);
    QCOMPARE(project.menuText(0), QStringLiteral("Text"));
    QCOMPARE(project.slot(2), root() + "2");

    project.ClearSlot(Project::IconSlot);
    QCOMPARE(project.iconSource(), IconSource::None);
    QCOMPARE(project.icon(), MainIconListPicture(5));

    // Clearing slot 1 changes no enabled state by itself.
    project.ClearSlot(1);
    QVERIFY(project.okEnabled());
    QCOMPARE(project.cdRootPath(), root());
}

void ProjectTest::resetKeepsRootAndTargetKind()
{
    Project project;
    project.TakeCdRoot(m_dir.path());
    project.setTargetIsFolder(true);
    project.AcceptSlotPath(1, root() + "x.htm");
    project.ResetProject();
    QCOMPARE(project.cdRootPath(), root());
    QCOMPARE(project.slot(0), QString());
    QCOMPARE(project.slot(1), QString());
    QVERIFY(project.targetIsFolder());
    QVERIFY(project.rootDependentEnabled());
    QVERIFY(!project.okEnabled());
}

void ProjectTest::newRootEmptiesEverything()
{
    Project project;
    project.TakeCdRoot(m_dir.path());
    project.AcceptSlotPath(1, root() + "start.htm");
    project.AcceptSlotPath(2, root() + "a.pdf");
    project.setMenuText(1, QStringLiteral("Getippt"));
    project.setIconSlot(IconSource::Launcher);
    project.setIcon(MainIconListPicture(2));

    // The same root again is a new project too.
    project.TakeCdRoot(m_dir.path());
    QCOMPARE(project.slot(0), root());
    for (int n = 1; n < Project::SlotCount; ++n)
        QCOMPARE(project.slot(n), QString());
    for (int row = 0; row < Project::RowCount; ++row)
        QCOMPARE(project.menuText(row), std::nullopt);
    QCOMPARE(project.icon(), MainIconListPicture(5));
    QVERIFY(!project.okEnabled());
#ifdef Q_OS_WIN
    // The 8.3 form, e.g. C:\users\anna\Temp\TST_~1\.
    QCOMPARE(project.cdRootShortPath(), GetShortPath(root()));
    QVERIFY(project.cdRootShortPath() != root());
#else
    QCOMPARE(project.cdRootShortPath(), root());
#endif

    // An empty choice changes nothing.
    project.AcceptSlotPath(1, root() + "start.htm");
    const ProjectData before = project.data();
    project.TakeCdRoot(QString());
    QCOMPARE(project.data(), before);
}

void ProjectTest::iconChoicesBeforeRootAreClearedByIt()
{
    Project project;
    project.setIconSlot(IconSource::Launcher);
    project.setIcon(MainIconListPicture(2));
    QCOMPARE(project.icon().image.size(), QSize(32, 32));
    project.TakeCdRoot(m_dir.path());
    QCOMPARE(project.iconSource(), IconSource::None);
    QCOMPARE(project.icon(), MainIconListPicture(5));
}

void ProjectTest::insideCdRoot_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("inside");
    QTest::newRow("document below") << "/p/CD"
                                    << "/p/CD/start.htm" << true;
    QTest::newRow("the root itself") << "/p/CD"
                                     << "/p/CD/" << true;
    QTest::newRow("root without separator") << "/p/CD"
                                            << "/p/CD" << false;
    QTest::newRow("neighbour with same prefix") << "/p/CD"
                                                << "/p/CD-alt/index.htm" << false;
    QTest::newRow("elsewhere") << "/p/CD"
                               << "/index.htm" << false;
    QTest::newRow("file-system root") << "/"
                                      << "/etc/x" << true;
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    QTest::newRow("case ignored") << "/p/CD"
                                  << "/P/cd/START.HTM" << true;
#else
    QTest::newRow("case counts on Linux") << "/p/CD"
                                          << "/p/cd/start.htm" << false;
#endif
}

void ProjectTest::insideCdRoot()
{
    QFETCH(QString, root);
    QFETCH(QString, path);
    QFETCH(bool, inside);
    Project project;
    project.TakeCdRoot(root);
    QCOMPARE(project.IsInsideCdRoot(QDir::toNativeSeparators(path)), inside);
}

void ProjectTest::defaultMenuText_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("text");
    QTest::newRow("first dot") << "/cd/docs/Handbuch.final.pdf"
                               << "Handbuch";
    QTest::newRow("no dot") << "/cd/Liesmich"
                            << "Liesmich";
    QTest::newRow("leading dot") << "/cd/.profile"
                                 << "";
    QTest::newRow("dot in folder only") << "/cd/v1.2/README"
                                        << "README";
}

void ProjectTest::defaultMenuText()
{
    QFETCH(QString, path);
    QFETCH(QString, text);
    QCOMPARE(Project::DefaultMenuText(QDir::toNativeSeparators(path)), text);
}

void ProjectTest::acceptedDocumentNamesAnEmptyRow()
{
    Project project;
    project.TakeCdRoot(m_dir.path());
    project.setMenuText(2, QStringLiteral("   "));
    project.AcceptSlotPath(4, root() + "Handbuch.neu.pdf");
    QCOMPARE(project.menuText(2), QStringLiteral("Handbuch"));

    project.AcceptSlotPath(3, root() + "Liesmich");
    QCOMPARE(project.menuText(1), QStringLiteral("Liesmich"));

    project.setMenuText(0, QStringLiteral("Preisliste"));
    project.AcceptSlotPath(2, root() + "liste.pdf");
    QCOMPARE(project.menuText(0), QStringLiteral("Preisliste"));

    // The target and the icon have no menu text.
    project.AcceptSlotPath(1, root() + "start.htm");
    QCOMPARE(project.menuText(0), QStringLiteral("Preisliste"));
}

void ProjectTest::checkContextRows_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<bool>("accepted");

    const QString none; // null: the row keeps having no menu text
    QTest::newRow("all empty") << QStringList{none, none, none} << QStringList{"", "", ""} << true;
    QTest::newRow("blank text, empty path")
        << QStringList{"   ", none, none} << QStringList{"", "", ""} << true;
    QTest::newRow("text without path")
        << QStringList{none, "Handbuch", none} << QStringList{"", "", ""} << false;
    QTest::newRow("path without text")
        << QStringList{"", none, none} << QStringList{"/cd/a.pdf", "", ""} << false;
    QTest::newRow("rows 0 and 2 complete")
        << QStringList{"A", none, "C"} << QStringList{"/cd/a", "", "/cd/c"} << true;
    QTest::newRow("two half rows")
        << QStringList{"A", "B", none} << QStringList{"", "", ""} << false;
    QTest::newRow("path, no text at all")
        << QStringList{none, none, none} << QStringList{"/cd/a", "", ""} << false;
}

void ProjectTest::checkContextRows()
{
    QFETCH(QStringList, texts);
    QFETCH(QStringList, paths);
    QFETCH(bool, accepted);

    Project project;
    for (int row = 0; row < Project::RowCount; ++row) {
        if (!texts.at(row).isNull())
            project.setMenuText(row, texts.at(row));
        project.setSlot(Project::RowSlot(row), paths.at(row));
    }
    const ProjectData before = project.data();
    QCOMPARE(CheckContextRows(project), accepted);
    QCOMPARE(project.data(), before);

    const QList<ShownMessage> shown = m_test->messages().takeShown();
    QCOMPARE(shown.size(), accepted ? 0 : 1);
    if (!accepted) {
        QVERIFY(shown.first().text.startsWith(
            "Ihre Angaben unter Schritt (3) sind nicht eindeutig: Ein vollständiger Eintrag"));
        QVERIFY(shown.first().text.endsWith("den betr. Taster in der gleichen Zeile."));
        QCOMPARE(shown.first().icon, MessageIcon::Information);
        QCOMPARE(shown.first().buttons, MessageButtons::Ok);
    }
}

QTEST_GUILESS_MAIN(ProjectTest)
#include "tst_project.moc"

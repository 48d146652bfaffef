#include "Dialogs.h"
#include "FileHelpers.h"
#include "MainIconList.h"
#include "Messages.h"
#include "PathChoosers.h"
#include "Project.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using namespace velkaro;
using velkaro::test::Native;

namespace {

const QString RootTitle =
    QStringLiteral("Wo liegt das Hauptverzeichnis Ihres CD-Projekts auf der Festplatte?");
const QString FolderTitle =
    QStringLiteral("Bitte wählen Sie den beim CD-Autostart zu öffnenden Ordner aus:");
const QString FileTitle = QStringLiteral("Bitte wählen Sie das zu öffnende Dokument ...");
const QString OutsideText = QStringLiteral(
    "Das von Ihnen angegebene Objekt liegt außerhalb des Pfades, welchen Sie als Hauptverzeichnis "
    "der zu brennenden CD-Daten angegeben haben. Für eine korrekte Einbindung muss sich dieses "
    "Objekt (Datei oder Ordner) aber innerhalb Ihres CD-Projekts befinden ('Externe' Dateien "
    "müssen also zuvor in die CD-Struktur kopiert werden).\r\rMöchten Sie die Eingabe jetzt "
    "wiederholen?");

} // namespace

class TestPathChoosers : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newRootEmptiesTheProject_data();
    void newRootEmptiesTheProject();
    void cancelledRootChangesNothing();
    void rootGetsClosingSeparator_data();
    void rootGetsClosingSeparator();
    void folderTarget_data();
    void folderTarget();
    void outsidePathRefused_data();
    void outsidePathRefused();
    void yesOpensTheSameDialogAgain_data();
    void yesOpensTheSameDialogAgain();
    void cancelKeepsTheSlot();
    void defaultMenuText_data();
    void defaultMenuText();
    void fileDialogStartAndFilter_data();
    void fileDialogStartAndFilter();
    void targetKindChoosesTheDialog_data();
    void targetKindChoosesTheDialog();
    void unusableCharacterRefused_data();
    void unusableCharacterRefused();
    void unusableCharacterInTheRootIsNotRefused();
    void commaRefusedInTheIconPathOnly_data();
    void commaRefusedInTheIconPathOnly();

private:
    std::optional<test::TestEnvironment> m_test;
    // The CD root as the folder browser returns it, and as the project holds it.
    QString rootFolder() const { return Native(m_tmp->filePath(QStringLiteral("CD"))); }
    QString rootPath() const { return rootFolder() + QDir::separator(); }
    QString inRoot(const QString& relative) const { return rootPath() + Native(relative); }
    void takeRoot(Project& project);

    std::unique_ptr<QTemporaryDir> m_tmp;
};

void TestPathChoosers::init()
{
    m_tmp = std::make_unique<QTemporaryDir>();
    QVERIFY(m_tmp->isValid());
    QVERIFY(QDir(m_tmp->path()).mkpath(QStringLiteral("CD/docs")));
    QVERIFY(QDir(m_tmp->path()).mkpath(QStringLiteral("CD2")));
    m_test.emplace();
}

void TestPathChoosers::cleanup()
{
    m_test.reset();
    m_tmp.reset();
}

void TestPathChoosers::takeRoot(Project& project)
{
    m_test->presenter().setNextFolderResult(rootFolder());
    QVERIFY(ChooseCdRoot(project, m_test->presenter(), nullptr));
    QCOMPARE(project.cdRootPath(), rootPath());
    m_test->presenter().takeRequests();
}

void TestPathChoosers::newRootEmptiesTheProject_data()
{
    QTest::addColumn<QString>("newRoot");
    QTest::newRow("another root") << QStringLiteral("CD2");
    QTest::newRow("the same root again") << QStringLiteral("CD");
}

void TestPathChoosers::newRootEmptiesTheProject()
{
    QFETCH(QString, newRoot);
    Project project;
    takeRoot(project);
    project.AcceptSlotPath(1, inRoot(QStringLiteral("start.htm")));
    project.setMenuText(0, QStringLiteral("Preisliste"));
    project.AcceptSlotPath(2, inRoot(QStringLiteral("docs/Preise.pdf")));
    project.setMenuText(2, QStringLiteral("nur getippt"));
    project.setIconSlot(IconSource::Launcher);
    project.setIcon(MainIconListPicture(2));
    project.UpdateOkButton();
    QVERIFY(project.okEnabled());

    const QString folder = Native(m_tmp->filePath(newRoot));
    m_test->presenter().setNextFolderResult(folder);
    QVERIFY(ChooseCdRoot(project, m_test->presenter(), nullptr));

    const QList<DialogRequest> expectedRequests{
        {DialogKind::Folder, RootTitle, QString(), QString(), false}};
    QCOMPARE(m_test->presenter().takeRequests(), expectedRequests);
    const QString newRootPath = folder + QDir::separator();
    QCOMPARE(project.cdRootPath(), newRootPath);
#ifdef Q_OS_WIN
    QCOMPARE(project.cdRootShortPath(), GetShortPath(newRootPath));
#else
    QCOMPARE(project.cdRootShortPath(), newRootPath); // no short names here: the path itself
#endif
    QCOMPARE(project.slot(0), newRootPath);
    for (int n = 1; n < Project::SlotCount; ++n)
        QCOMPARE(project.slot(n), QString());
    for (int row = 0; row < Project::RowCount; ++row)
        QCOMPARE(project.menuText(row), std::nullopt);
    QCOMPARE(project.icon(), MainIconListPicture(5));
    QVERIFY(project.rootDependentEnabled());
    QVERIFY(!project.okEnabled());
    QVERIFY(m_test->messages().shown().isEmpty());
}

void TestPathChoosers::cancelledRootChangesNothing()
{
    Project project;
    takeRoot(project);
    project.AcceptSlotPath(3, inRoot(QStringLiteral("docs/Liesmich")));
    project.setIconSlot(IconSource::Library);
    const ProjectData before = project.data();

    QVERIFY(!ChooseCdRoot(project, m_test->presenter(), nullptr)); // nothing queued: Cancel
    QCOMPARE(m_test->presenter().takeRequests().size(), 1);
    QVERIFY(project.data() == before);
    QVERIFY(m_test->messages().shown().isEmpty());
}

void TestPathChoosers::rootGetsClosingSeparator_data()
{
    QTest::addColumn<QString>("returned");
    QTest::addColumn<QString>("expectedRoot");
#ifdef Q_OS_WIN
    QTest::newRow("folder") << QStringLiteral("C:/CD") << QStringLiteral("C:\\CD\\");
    QTest::newRow("drive root") << QStringLiteral("D:/") << QStringLiteral("D:\\");
#else
    QTest::newRow("folder") << QStringLiteral("/home/anna/CD") << QStringLiteral("/home/anna/CD/");
    QTest::newRow("folder with separator")
        << QStringLiteral("/home/anna/CD/") << QStringLiteral("/home/anna/CD/");
    QTest::newRow("file-system root") << QStringLiteral("/") << QStringLiteral("/");
#endif
}

void TestPathChoosers::rootGetsClosingSeparator()
{
    QFETCH(QString, returned);
    QFETCH(QString, expectedRoot);
    Project project;
    m_test->presenter().setNextFolderResult(returned);
    QVERIFY(ChooseCdRoot(project, m_test->presenter(), nullptr));
    QCOMPARE(project.cdRootPath(), expectedRoot);
    QCOMPARE(project.slot(0), expectedRoot);

    // Every file below that root is inside it.
    const QString file =
        expectedRoot + QStringLiteral("docs") + QDir::separator() + QStringLiteral("a.txt");
    m_test->presenter().setNextFileResult(file);
    QVERIFY(ChooseSlotPath(project, 2, m_test->presenter(), nullptr));
    QCOMPARE(project.slot(2), file);
}

void TestPathChoosers::folderTarget_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("expectedSlot");
    QTest::newRow("a folder below the root")
        << QStringLiteral("CD/docs") << QStringLiteral("CD/docs/");
    QTest::newRow("the root itself") << QStringLiteral("CD") << QStringLiteral("CD/");
}

void TestPathChoosers::folderTarget()
{
    QFETCH(QString, chosen);
    QFETCH(QString, expectedSlot);
    Project project;
    takeRoot(project);
    project.setTargetIsFolder(true);

    m_test->presenter().setNextFolderResult(m_tmp->filePath(chosen));
    QVERIFY(ChooseSlotPath(project, 1, m_test->presenter(), nullptr));
    QCOMPARE(project.slot(1), Native(m_tmp->filePath(expectedSlot)));
    QVERIFY(m_test->messages().shown().isEmpty());
    // What the window's dispatch does after slot 1.
    project.UpdateOkButton();
    QVERIFY(project.okEnabled());
}

void TestPathChoosers::outsidePathRefused_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("outside"); // relative to the temporary folder
    QTest::newRow("neighbour folder with the root's name as prefix")
        << 1 << QStringLiteral("CD2/index.htm");
    QTest::newRow("name continuing the root's name") << 2 << QStringLiteral("CD-alt.htm");
    QTest::newRow("above the root") << 3 << QStringLiteral("index.htm");
    QTest::newRow("icon file outside") << 5 << QStringLiteral("CD2/AutoRun.ico");
#if !defined(Q_OS_WIN) && !defined(Q_OS_MACOS)
    // Here /x/cd and /x/CD are two different folders.
    QTest::newRow("root in other letter case") << 4 << QStringLiteral("cd/docs/a.txt");
#endif
}

void TestPathChoosers::outsidePathRefused()
{
    QFETCH(int, slot);
    QFETCH(QString, outside);
    Project project;
    takeRoot(project);
    const QString earlier = inRoot(QStringLiteral("docs/Frueher.txt"));
    m_test->presenter().setNextFileResult(earlier);
    QVERIFY(ChooseSlotPath(project, slot, m_test->presenter(), nullptr));
    const ProjectData before = project.data();

    m_test->presenter().setNextFileResult(Native(m_tmp->filePath(outside)));
    m_test->messages().setNextAnswer(MessageAnswer::No);
    QVERIFY(!ChooseSlotPath(project, slot, m_test->presenter(), nullptr));

    const QList<ShownMessage> shown = m_test->messages().takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).text, OutsideText);
    QCOMPARE(shown.at(0).icon, MessageIcon::Error);
    QCOMPARE(shown.at(0).buttons, MessageButtons::YesNo);
    QCOMPARE(project.slot(slot), earlier);
    QVERIFY(project.data() == before);
    QCOMPARE(m_test->presenter().takeRequests().size(), 2);
}

void TestPathChoosers::yesOpensTheSameDialogAgain_data()
{
    QTest::addColumn<bool>("folderMode");
    QTest::newRow("file dialog") << false;
    QTest::newRow("folder browser") << true;
}

void TestPathChoosers::yesOpensTheSameDialogAgain()
{
    QFETCH(bool, folderMode);
    Project project;
    takeRoot(project);
    project.setTargetIsFolder(folderMode);
    const QString outside = Native(m_tmp->filePath(QStringLiteral("CD2")));
    const QString inside = inRoot(QStringLiteral("docs"));
    if (folderMode) {
        m_test->presenter().setNextFolderResult(outside);
        m_test->presenter().setNextFolderResult(outside);
        m_test->presenter().setNextFolderResult(inside);
    } else {
        m_test->presenter().setNextFileResult(outside);
        m_test->presenter().setNextFileResult(outside);
        m_test->presenter().setNextFileResult(inside);
    }
    m_test->messages().setNextAnswer(MessageAnswer::Yes);
    m_test->messages().setNextAnswer(MessageAnswer::Yes);

    QVERIFY(ChooseSlotPath(project, 1, m_test->presenter(), nullptr));
    QCOMPARE(project.slot(1), folderMode ? inside + QDir::separator() : inside);
    QCOMPARE(m_test->messages().takeShown().size(), 2);
    const QList<DialogRequest> requests = m_test->presenter().takeRequests();
    QCOMPARE(requests.size(), 3);
    for (const DialogRequest& request : requests) {
        QCOMPARE(request, requests.first());
        QCOMPARE(request.kind, folderMode ? DialogKind::Folder : DialogKind::OpenFile);
        QCOMPARE(request.title, folderMode ? FolderTitle : FileTitle);
    }
}

void TestPathChoosers::cancelKeepsTheSlot()
{
    Project project;
    takeRoot(project);
    const QString earlier = inRoot(QStringLiteral("docs/Preise.pdf"));
    m_test->presenter().setNextFileResult(earlier);
    QVERIFY(ChooseSlotPath(project, 2, m_test->presenter(), nullptr));
    project.setMenuText(0, QStringLiteral("Preise 2005"));
    const ProjectData before = project.data();

    for (int n = 1; n <= Project::IconSlot; ++n)
        QVERIFY(!ChooseSlotPath(project, n, m_test->presenter(), nullptr));
    project.setTargetIsFolder(true);
    QVERIFY(!ChooseSlotPath(project, 1, m_test->presenter(), nullptr));
    project.setTargetIsFolder(false);

    QVERIFY(project.data() == before);
    QVERIFY(m_test->messages().shown().isEmpty());
}

void TestPathChoosers::defaultMenuText_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("menuTextBefore"); // null: none
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("expectedMenuText");

    QTest::newRow("name before the first dot")
        << 4 << QString() << QStringLiteral("docs/Handbuch.final.pdf")
        << QStringLiteral("Handbuch");
    QTest::newRow("name without a dot")
        << 2 << QString() << QStringLiteral("Liesmich") << QStringLiteral("Liesmich");
    QTest::newRow("upper-case name without a dot")
        << 3 << QString() << QStringLiteral("docs/README") << QStringLiteral("README");
    QTest::newRow("name beginning with a dot")
        << 2 << QString() << QStringLiteral(".profile") << QString();
    QTest::newRow("dot in a folder name only")
        << 3 << QString() << QStringLiteral("v1.2/Hinweise") << QStringLiteral("Hinweise");
    QTest::newRow("blank menu text counts as empty")
        << 3 << QStringLiteral("   ") << QStringLiteral("Preise.pdf") << QStringLiteral("Preise");
    QTest::newRow("erased menu text counts as empty")
        << 2 << QStringLiteral("") << QStringLiteral("Preise.pdf") << QStringLiteral("Preise");
    QTest::newRow("typed text stays")
        << 2 << QStringLiteral("Preisliste") << QStringLiteral("Preise.pdf")
        << QStringLiteral("Preisliste");
}

void TestPathChoosers::defaultMenuText()
{
    QFETCH(int, slot);
    QFETCH(QString, menuTextBefore);
    QFETCH(QString, document);
    QFETCH(QString, expectedMenuText);
    Project project;
    takeRoot(project);
    if (!menuTextBefore.isNull())
        project.setMenuText(Project::RowOfSlot(slot), menuTextBefore);

    m_test->presenter().setNextFileResult(inRoot(document));
    QVERIFY(ChooseSlotPath(project, slot, m_test->presenter(), nullptr));
    QCOMPARE(project.slot(slot), inRoot(document));
    QCOMPARE(project.menuText(Project::RowOfSlot(slot)), expectedMenuText);
    // The other rows are not touched.
    for (int row = 0; row < Project::RowCount; ++row) {
        if (row != Project::RowOfSlot(slot))
            QCOMPARE(project.menuText(row), std::nullopt);
    }
}

void TestPathChoosers::fileDialogStartAndFilter_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<bool>("slotHoldsFile");
    QTest::addColumn<QString>("expectedFilter");
#ifdef Q_OS_WIN
    const QString allFiles = QStringLiteral("Alle Dateien (*.*)");
#else
    const QString allFiles = QStringLiteral("Alle Dateien (*)");
#endif
    for (int slot = 1; slot <= Project::IconSlot; ++slot) {
        const QString filter = slot == 5 ? QStringLiteral("Icons (*.ico)") : allFiles;
        QTest::addRow("slot %d empty", slot) << slot << false << filter;
        QTest::addRow("slot %d with a file", slot) << slot << true << filter;
    }
}

void TestPathChoosers::fileDialogStartAndFilter()
{
    QFETCH(int, slot);
    QFETCH(bool, slotHoldsFile);
    QFETCH(QString, expectedFilter);
    Project project;
    takeRoot(project);
    const QString file = inRoot(QStringLiteral("docs/AutoRun.ico"));
    if (slotHoldsFile) {
        m_test->presenter().setNextFileResult(file);
        QVERIFY(ChooseSlotPath(project, slot, m_test->presenter(), nullptr));
        m_test->presenter().takeRequests();
    }

    ChooseSlotPath(project, slot, m_test->presenter(), nullptr);
    const QList<DialogRequest> expected{{DialogKind::OpenFile, FileTitle, expectedFilter,
                                         slotHoldsFile ? file : rootPath(), slotHoldsFile}};
    QCOMPARE(m_test->presenter().takeRequests(), expected);
}

void TestPathChoosers::targetKindChoosesTheDialog_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<bool>("folderKind");
    QTest::addColumn<int>("expectedKind");
    QTest::newRow("target, Datei") << 1 << false << int(DialogKind::OpenFile);
    QTest::newRow("target, Ordner") << 1 << true << int(DialogKind::Folder);
    QTest::newRow("context row, Ordner") << 3 << true << int(DialogKind::OpenFile);
    QTest::newRow("icon, Ordner") << 5 << true << int(DialogKind::OpenFile);
}

void TestPathChoosers::targetKindChoosesTheDialog()
{
    QFETCH(int, slot);
    QFETCH(bool, folderKind);
    QFETCH(int, expectedKind);
    Project project;
    takeRoot(project);
    project.setTargetIsFolder(folderKind);
    ChooseSlotPath(project, slot, m_test->presenter(), nullptr);
    const QList<DialogRequest> requests = m_test->presenter().takeRequests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(int(requests.first().kind), expectedKind);
    if (requests.first().kind == DialogKind::Folder)
        QCOMPARE(requests.first().title, FolderTitle);
}

void TestPathChoosers::unusableCharacterRefused_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<bool>("folderMode");
    QTest::addColumn<QString>("relative");
    QTest::addColumn<QString>("shownCharacter");

    QTest::newRow("target file with ?")
        << 1 << false << QStringLiteral("Was?.htm") << QStringLiteral("„?“ (U+003F)");
    QTest::newRow("target folder with :")
        << 1 << true << QStringLiteral("Teil 1: Anfang") << QStringLiteral("„:“ (U+003A)");
    QTest::newRow("context document in a folder with *")
        << 2 << false << QStringLiteral("a*b/Preise.pdf") << QStringLiteral("„*“ (U+002A)");
    QTest::newRow("context document with a tab")
        << 3 << false << QStringLiteral("Preise\t2005.pdf") << QStringLiteral("U+0009");
    QTest::newRow("context document with greek")
        << 4 << false << QStringLiteral("Ωmega.pdf") << QStringLiteral("„Ω“ (U+03A9)");
    QTest::newRow("name holding a placeholder")
        << 2 << false << QStringLiteral("%z% und %f%?.txt") << QStringLiteral("„?“ (U+003F)");
    QTest::newRow("icon file with a quotation mark")
        << 5 << false << QStringLiteral("\"Logo\".ico") << QStringLiteral("„\"“ (U+0022)");
}

void TestPathChoosers::unusableCharacterRefused()
{
    QFETCH(int, slot);
    QFETCH(bool, folderMode);
    QFETCH(QString, relative);
    QFETCH(QString, shownCharacter);
    Project project;
    takeRoot(project);
    project.setTargetIsFolder(folderMode);
    const QString earlier = inRoot(folderMode ? QStringLiteral("docs/") : QStringLiteral("ok.txt"));
    if (folderMode)
        m_test->presenter().setNextFolderResult(inRoot(QStringLiteral("docs")));
    else
        m_test->presenter().setNextFileResult(earlier);
    QVERIFY(ChooseSlotPath(project, slot, m_test->presenter(), nullptr));
    const ProjectData before = project.data();
    m_test->presenter().takeRequests();

    const QString bad = inRoot(relative);
    if (folderMode)
        m_test->presenter().setNextFolderResult(bad);
    else
        m_test->presenter().setNextFileResult(bad);
    QVERIFY(!ChooseSlotPath(project, slot, m_test->presenter(), nullptr));

    QVERIFY(project.data() == before);
    QCOMPARE(m_test->presenter().takeRequests().size(),
             1); // no second dialog: the user must rename first
    const QList<ShownMessage> shown = m_test->messages().takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).icon, MessageIcon::Error);
    QCOMPARE(shown.at(0).buttons, MessageButtons::Ok);
    const QString shownPath = folderMode ? bad + QDir::separator() : bad;
    const QString expected =
        QStringLiteral("Der Name des von Ihnen angegebenen Objekts enthält ein Zeichen, das auf "
                       "der CD nicht verwendet werden kann:\r\r    ") +
        shownPath + QStringLiteral("\r\rDas Zeichen ist:\r\r    ") + shownCharacter +
        QStringLiteral("\r\rWindows erlaubt dieses Zeichen nicht in Datei- oder Ordnernamen, oder "
                       "es lässt sich nicht in die Datei AutoRun.Inf schreiben. Bitte benennen Sie "
                       "die Datei bzw. den Ordner um und wählen Sie sie danach erneut aus.");
    QCOMPARE(shown.at(0).text, expected);
}

void TestPathChoosers::unusableCharacterInTheRootIsNotRefused()
{
    Project project;
    const QString root = Native(m_tmp->filePath(QStringLiteral("Was? Ωmega")));
    m_test->presenter().setNextFolderResult(root);
    QVERIFY(ChooseCdRoot(project, m_test->presenter(), nullptr));
    QCOMPARE(project.slot(0), root + QDir::separator());

    const QString file = root + QDir::separator() + QStringLiteral("index.htm");
    m_test->presenter().setNextFileResult(file);
    QVERIFY(ChooseSlotPath(project, 1, m_test->presenter(), nullptr));
    QCOMPARE(project.slot(1), file);
    QVERIFY(m_test->messages().shown().isEmpty());
}

void TestPathChoosers::commaRefusedInTheIconPathOnly_data()
{
    QTest::addColumn<int>("slot");
    QTest::addColumn<QString>("relative");
    QTest::addColumn<bool>("refused");

    QTest::newRow("icon file named with a comma") << 5 << QStringLiteral("Logo, neu.ico") << true;
    QTest::newRow("icon file in a folder with a comma")
        << 5 << QStringLiteral("bilder,neu/disc.ico") << true;
    // A command line keeps the quotation marks around its path.
    QTest::newRow("document with a comma") << 2 << QStringLiteral("Preise, 2005.pdf") << false;
}

void TestPathChoosers::commaRefusedInTheIconPathOnly()
{
    QFETCH(int, slot);
    QFETCH(QString, relative);
    QFETCH(bool, refused);
    Project project;
    takeRoot(project);
    m_test->presenter().setNextFileResult(inRoot(QStringLiteral("ok.ico")));
    QVERIFY(ChooseSlotPath(project, slot, m_test->presenter(), nullptr));
    const ProjectData before = project.data();

    const QString chosen = inRoot(relative);
    m_test->presenter().setNextFileResult(chosen);
    QCOMPARE(ChooseSlotPath(project, slot, m_test->presenter(), nullptr), !refused);
    const QList<ShownMessage> shown = m_test->messages().takeShown();
    if (!refused) {
        QCOMPARE(project.slot(slot), chosen);
        QCOMPARE(shown.size(), 0);
        return;
    }
    QVERIFY(project.data() == before);
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.at(0).icon, MessageIcon::Error);
    QCOMPARE(shown.at(0).text,
             QStringLiteral("Der Pfad der von Ihnen angegebenen Icon-Datei enthält ein "
                            "Komma:\r\r    ") +
                 chosen +
                 QStringLiteral("\r\rWindows liest in der Icon-Angabe der Datei AutoRun.Inf "
                                "alles nach einem Komma als Nummer eines Icons und fände die "
                                "Datei deshalb nicht. Bitte benennen Sie die Datei bzw. den "
                                "Ordner um und wählen Sie sie danach erneut aus."));
}

QTEST_MAIN(TestPathChoosers)
#include "tst_pathchoosers.moc"

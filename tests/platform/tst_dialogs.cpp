#include "Dialogs.h"
#include "Presenter.h"
#include "TestEnvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <optional>

using namespace velkaro;

namespace {

#ifdef Q_OS_WIN
const QString AllFiles = QStringLiteral("Alle Dateien (*.*)");
#else
const QString AllFiles = QStringLiteral("Alle Dateien (*)");
#endif

// Runs the action on the file dialog as soon as it is shown modally.
void WhenFileDialogOpens(std::function<void(QFileDialog*)> action)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(dialog);
        }
    });
    timer->start();
}

} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_test.emplace(); }
    void cleanup() { m_test.reset(); }

    void nameFilters_data();
    void nameFilters();
    void folderResultCleanedUp_data();
    void folderResultCleanedUp();
    void openDialogStartPlace_data();
    void openDialogStartPlace();
    void realFolderBrowser();
    void realFileDialog();

private:
    std::optional<test::TestEnvironment> m_test;
};

void TestDialogs::nameFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("empty gives all files") << QString() << QStringList{AllFiles};
    QTest::newRow("all files as written")
        << QStringLiteral("Alle Dateien (*.*)|*.*|") << QStringList{AllFiles};
    QTest::newRow("icons") << QStringLiteral("Icons (*.ico)|*.ico|")
                           << QStringList{QStringLiteral("Icons (*.ico)")};
    QTest::newRow("description without pattern")
        << QStringLiteral("Bilder|*.bmp;*.png|")
        << QStringList{QStringLiteral("Bilder (*.bmp *.png)")};
    QTest::newRow("two pairs, last bar missing")
        << QStringLiteral("Icons (*.ico)|*.ico|Texte|*.txt")
        << QStringList{QStringLiteral("Icons (*.ico)"), QStringLiteral("Texte (*.txt)")};
    QTest::newRow("no pattern at all") << QStringLiteral("nur Text") << QStringList{AllFiles};
}

void TestDialogs::nameFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(QtNameFilters(filter), expected);
}

void TestDialogs::folderResultCleanedUp_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("expected");

    QTest::newRow("cancel") << QString() << QString();
#ifdef Q_OS_WIN
    QTest::newRow("forward slashes")
        << QStringLiteral("C:/Daten/CD") << QStringLiteral("C:\\Daten\\CD");
    QTest::newRow("closing separator")
        << QStringLiteral("C:/Daten/CD/") << QStringLiteral("C:\\Daten\\CD");
    QTest::newRow("drive root keeps it") << QStringLiteral("D:/") << QStringLiteral("D:\\");
#else
    QTest::newRow("plain") << QStringLiteral("/home/anna/CD") << QStringLiteral("/home/anna/CD");
    QTest::newRow("closing separator")
        << QStringLiteral("/home/anna/CD/") << QStringLiteral("/home/anna/CD");
    QTest::newRow("doubled separator")
        << QStringLiteral("/home/anna/CD//") << QStringLiteral("/home/anna/CD");
    QTest::newRow("file-system root") << QStringLiteral("/") << QStringLiteral("/");
#endif
}

void TestDialogs::folderResultCleanedUp()
{
    QFETCH(QString, raw);
    QFETCH(QString, expected);
    if (!raw.isEmpty())
        m_test->presenter().setNextFolderResult(raw);
    QCOMPARE(BrowseForFolder(m_test->presenter(), nullptr, QStringLiteral("Wohin?")), expected);
    const QList<DialogRequest> expectedRequests{
        {DialogKind::Folder, QStringLiteral("Wohin?"), QString(), QString(), false}};
    QCOMPARE(m_test->presenter().takeRequests(), expectedRequests);
}

void TestDialogs::openDialogStartPlace_data()
{
    QTest::addColumn<QString>("root");
    QTest::addColumn<QString>("current");
    QTest::addColumn<QString>("expectedStart");
    QTest::addColumn<bool>("startIsFile");

#ifdef Q_OS_WIN
    const QString root = QStringLiteral("C:\\CD\\");
    const QString file = QStringLiteral("C:\\CD\\docs\\Handbuch.pdf");
#else
    const QString root = QStringLiteral("/home/anna/CD/");
    const QString file = QStringLiteral("/home/anna/CD/docs/Handbuch.pdf");
#endif
    QTest::newRow("empty slot") << root << QStringLiteral("(Bitte wählen ...)") << root << false;
    QTest::newRow("blank slot") << root << QString() << root << false;
    QTest::newRow("library icon") << root << QStringLiteral("(Bibliothek)") << root << false;
    QTest::newRow("relative text") << root << QStringLiteral("docs/Handbuch.pdf") << root << false;
    QTest::newRow("path in the slot") << root << file << file << true;
}

void TestDialogs::openDialogStartPlace()
{
    QFETCH(QString, root);
    QFETCH(QString, current);
    QFETCH(QString, expectedStart);
    QFETCH(bool, startIsFile);
    ShowOpenDocumentDialog(m_test->presenter(), nullptr, current,
                           QStringLiteral("Icons (*.ico)|*.ico|"), root);
    const QList<DialogRequest> expected{
        {DialogKind::OpenFile, QStringLiteral("Bitte wählen Sie das zu öffnende Dokument ..."),
         QStringLiteral("Icons (*.ico)"), expectedStart, startIsFile}};
    QCOMPARE(m_test->presenter().takeRequests(), expected);
}

void TestDialogs::realFolderBrowser()
{
    QtPresenter desktop;
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(QDir(tmp.path()).mkdir(QStringLiteral("Bilder")));
    const QString chosen = tmp.filePath(QStringLiteral("Bilder"));

    bool seen = false;
    WhenFileDialogOpens([&](QFileDialog* dialog) {
        seen = true;
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Wo liegt es?"));
        QCOMPARE(dialog->fileMode(), QFileDialog::Directory);
        QVERIFY(dialog->testOption(QFileDialog::ShowDirsOnly));
        dialog->setDirectory(chosen);
        static_cast<QDialog*>(dialog)->accept(); // public in QDialog
    });
    QCOMPARE(BrowseForFolder(desktop, nullptr, QStringLiteral("Wo liegt es?")),
             QDir::toNativeSeparators(chosen));
    QVERIFY(seen);

    WhenFileDialogOpens([](QFileDialog* dialog) { dialog->reject(); });
    QCOMPARE(BrowseForFolder(desktop, nullptr, QStringLiteral("Wo liegt es?")), QString());
}

void TestDialogs::realFileDialog()
{
    QtPresenter desktop;
    QTemporaryDir tmp;
    QVERIFY(tmp.isValid());
    QVERIFY(QDir(tmp.path()).mkdir(QStringLiteral("docs")));
    const QString file = tmp.filePath(QStringLiteral("docs/Liesmich"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();

    // Opened on the file the slot holds, with the filter list of the caller.
    bool seen = false;
    WhenFileDialogOpens([&](QFileDialog* dialog) {
        seen = true;
        QCOMPARE(dialog->windowTitle(),
                 QStringLiteral("Bitte wählen Sie das zu öffnende Dokument ..."));
        QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(dialog->nameFilters(), QStringList{AllFiles});
        QCOMPARE(dialog->selectedNameFilter(), AllFiles);
        QCOMPARE(dialog->directory().absolutePath(), tmp.filePath(QStringLiteral("docs")));
        QCOMPARE(dialog->selectedFiles(), QStringList{file});
        static_cast<QDialog*>(dialog)->accept(); // public in QDialog
    });
    QCOMPARE(ShowOpenDocumentDialog(desktop, nullptr, QDir::toNativeSeparators(file), QString(),
                                    QDir::toNativeSeparators(tmp.path() + "/")),
             QDir::toNativeSeparators(file));
    QVERIFY(seen);

    // Opened in the CD root; Cancel gives the empty text.
    seen = false;
    WhenFileDialogOpens([&](QFileDialog* dialog) {
        seen = true;
        QCOMPARE(dialog->directory().absolutePath(), QDir(tmp.path()).absolutePath());
        dialog->reject();
    });
    QCOMPARE(ShowOpenDocumentDialog(desktop, nullptr, QStringLiteral("(Bitte wählen ...)"),
                                    QString(), QDir::toNativeSeparators(tmp.path() + "/")),
             QString());
    QVERIFY(seen);
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"

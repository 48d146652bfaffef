#include "FileHelpers.h"
#include "Help.h"
#include "HelpFile.h"
#include "MakerInfo.h"
#include "Messages.h"
#include "Presenter.h"
#include "ShellOpen.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <utility>

using namespace velkaro;
using velkaro::test::MakeFile;
using velkaro::test::Native;

namespace {

// The eight places Help looks, in its order, relative to the program folder.
const QStringList HelpCandidates{
    QStringLiteral("index.htm"),       QStringLiteral("index.html"),
    QStringLiteral("hilfe.htm"),       QStringLiteral("hilfe.html"),
    QStringLiteral("hilfe/index.htm"), QStringLiteral("hilfe/index.html"),
    QStringLiteral("hilfe/hilfe.htm"), QStringLiteral("hilfe/hilfe.html"),
};

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_test.emplace();
        QVERIFY(m_folder.isValid());
    }

    void cleanup()
    {
        QDir(m_folder.path()).removeRecursively();
        QDir().mkpath(m_folder.path());
        m_test.reset();
    }

    // Each row puts candidates "first" to 8 in place: Help must take "first".
    void helpPageOrder_data()
    {
        QTest::addColumn<int>("first");
        for (int k = 0; k < HelpCandidates.size(); ++k)
            QTest::addRow("%s", qPrintable(HelpCandidates.at(k))) << k;
    }

    void helpPageOrder()
    {
        QFETCH(int, first);
        for (int k = first; k < HelpCandidates.size(); ++k)
            MakeFile(m_folder.filePath(HelpCandidates.at(k)));

        const QString expected = Native(m_folder.filePath(HelpCandidates.at(first)));
        QCOMPARE(FindLocalHelpFile(Native(m_folder.path())), expected);

        ShowHelp(m_test->presenter(), Native(m_folder.path()));
        QVERIFY(m_test->messages().takeShown().isEmpty());
        const QList<ShellOpenRequest> opened = m_test->presenter().takeOpened();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.at(0).path, expected);
        QCOMPARE(opened.at(0).url, QUrl::fromLocalFile(expected));
        QCOMPARE(opened.at(0).windowState, ShellWindowNormal);
    }

    void noHelpPageAsksForTheOnlineManual()
    {
        const QString manual = MakerWebAddress() + QStringLiteral("/?go=velkaro");

        m_test->messages().setNextAnswer(MessageAnswer::Cancel);
        ShowHelp(m_test->presenter(), Native(m_folder.path()));
        QList<ShownMessage> shown = m_test->messages().takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.at(0).text,
                 QStringLiteral("Die aktuelle Anleitung zu ''Velkaro 2005'' ist online bei ") +
                     MakerSiteName() +
                     QStringLiteral(" verfügbar.\r\rKlicken Sie bitte ''OK'', um diese Seite "
                                    "jetzt anzeigen zu lassen ..."));
        QCOMPARE(shown.at(0).icon, MessageIcon::Information);
        QCOMPARE(shown.at(0).buttons, MessageButtons::OkCancel);
        QVERIFY(m_test->presenter().takeOpened().isEmpty());

        m_test->messages().setNextAnswer(MessageAnswer::Ok);
        ShowHelp(m_test->presenter(), Native(m_folder.path()));
        QCOMPARE(m_test->messages().takeShown().size(), 1);
        const QList<ShellOpenRequest> opened = m_test->presenter().takeOpened();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.at(0).path, manual.toLower());
        QVERIFY(opened.at(0).path.endsWith(QStringLiteral("/?go=velkaro")));
        QCOMPARE(opened.at(0).url, QUrl(manual.toLower()));
        QCOMPARE(opened.at(0).windowState, ShellWindowMaximised);
    }

    void makerSiteAndManualShareTheAddress()
    {
        QCOMPARE(ProductPageAddress(), (MakerWebAddress() + QStringLiteral("/?go=velkaro")));
        QCOMPARE(ProductPageAddress(), ProductPageAddress().toLower());

        OpenMakerSite(m_test->presenter(), QString());
        OpenOnlineManual(m_test->presenter());
        const QList<ShellOpenRequest> opened = m_test->presenter().takeOpened();
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened.at(0).path, MakerWebAddress());
        QCOMPARE(opened.at(0).windowState, ShellWindowMaximised);
        QCOMPARE(opened.at(1).path, ProductPageAddress());
    }

    void shellOpenUrls_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QUrl>("url");
        QTest::newRow("web address") << "https://www.quenbrook.example/?go=velkaro"
                                     << QUrl("https://www.quenbrook.example/?go=velkaro");
        QTest::newRow("plain http") << "http://x.example" << QUrl("http://x.example");
        // A "#" or "?" in a file name must not turn into a fragment or a query.
        QTest::newRow("file with # and ?")
            << "/tmp/Hilfe #2?.htm" << QUrl::fromLocalFile("/tmp/Hilfe #2?.htm");
        QTest::newRow("drive letter is no scheme")
            << "C:/Programme/Velkaro/index.htm"
            << QUrl::fromLocalFile("C:/Programme/Velkaro/index.htm");
    }

    void shellOpenUrls()
    {
        QFETCH(QString, path);
        QFETCH(QUrl, url);
        QCOMPARE(ShellOpenUrl(path), url);
        if (url.isLocalFile() && path.startsWith(QLatin1Char('/')))
            QCOMPARE(ShellOpenUrl(path).toLocalFile(), path);

        // The program's presenter hands the same address to the desktop.
        QtPresenter desktop;
        QDesktopServices::setUrlHandler(url.scheme(), this, "openedByDesktop");
        ShellOpen(desktop, path, 0);
        QDesktopServices::unsetUrlHandler(url.scheme());
        QCOMPARE(std::exchange(m_desktopOpened, {}), QList<QUrl>{url});
    }

    void shellOpenWindowState()
    {
        ShellOpen(m_test->presenter(), QStringLiteral("https://a.example"), 0);
        ShellOpen(m_test->presenter(), QStringLiteral("https://a.example"), ShellWindowMaximised);
        const QList<ShellOpenRequest> opened = m_test->presenter().takeOpened();
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened.at(0).windowState, ShellWindowNormal);
        QCOMPARE(opened.at(1).windowState, ShellWindowMaximised);
    }

public:
    Q_INVOKABLE void openedByDesktop(const QUrl& url) { m_desktopOpened.append(url); }

private:
    std::optional<test::TestEnvironment> m_test;
    QList<QUrl> m_desktopOpened;
    QTemporaryDir m_folder;
};

QTEST_MAIN(TestHelp)
#include "tst_help.moc"

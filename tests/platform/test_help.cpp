#include "FileHelpers.h"
#include "GetWord.h"
#include "Help.h"
#include "HelpFile.h"
#include "MakerInfo.h"
#include "Messages.h"
#include "ShellOpen.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using namespace velkaro;

namespace {

// The eight places Help looks, in its order, relative to the program folder.
const QStringList HelpCandidates{
    QStringLiteral("index.htm"),       QStringLiteral("index.html"),
    QStringLiteral("hilfe.htm"),       QStringLiteral("hilfe.html"),
    QStringLiteral("hilfe/index.htm"), QStringLiteral("hilfe/index.html"),
    QStringLiteral("hilfe/hilfe.htm"), QStringLiteral("hilfe/hilfe.html"),
};

void MakeFile(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write("<html></html>");
}

QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

class TestHelp : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_messages.emplace();
        SetShellOpenRecording(true);
        QVERIFY(m_folder.isValid());
        SetProgramFolderForTesting(Native(m_folder.path()));
    }

    void cleanup()
    {
        QDir(m_folder.path()).removeRecursively();
        QDir().mkpath(m_folder.path());
        SetProgramFolderForTesting(QString());
        SetShellOpenRecording(false);
        m_messages.reset();
    }

    void getWord_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("delimiter");
        QTest::addColumn<QString>("word");
        QTest::newRow("first word, blank by default") << "Velkaro 2005" << 1 << ""
                                                      << "Velkaro";
        QTest::newRow("second word") << "Velkaro 2005" << 2 << ""
                                     << "2005";
        QTest::newRow("fewer words than asked") << "Velkaro" << 2 << ""
                                                << "";
        QTest::newRow("middle word") << "a b c" << 2 << " "
                                     << "b";
        QTest::newRow("last word keeps no rest") << "a b c" << 3 << " "
                                                 << "c";
        QTest::newRow("two blanks make an empty word") << "a  b" << 2 << ""
                                                       << "";
        QTest::newRow("word after the empty one") << "a  b" << 3 << ""
                                                  << "b";
        QTest::newRow("delimiter at the end") << "a " << 2 << ""
                                              << "";
        QTest::newRow("longer delimiter") << "eins, zwei, drei" << 3 << ", "
                                          << "drei";
        QTest::newRow("delimiter case counts") << "aXbxc" << 2 << "x"
                                               << "c";
        QTest::newRow("empty text") << "" << 1 << ""
                                    << "";
        QTest::newRow("n below 1") << "a b" << 0 << ""
                                   << "";
    }

    void getWord()
    {
        QFETCH(QString, text);
        QFETCH(int, n);
        QFETCH(QString, delimiter);
        QFETCH(QString, word);
        QCOMPARE(GetWord(text, n, delimiter), word);
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
        QCOMPARE(FindLocalHelpFile(), expected);

        ShowHelp();
        QVERIFY(m_messages->takeShown().isEmpty());
        const QList<ShellOpenRequest> opened = TakeShellOpenRequests();
        QCOMPARE(opened.size(), 1);
        QCOMPARE(opened.at(0).path, expected);
        QCOMPARE(opened.at(0).url, QUrl::fromLocalFile(expected));
        QCOMPARE(opened.at(0).windowState, ShellWindowNormal);
    }

    void helpPageMustBeAFile()
    {
        // A folder named like a page is no page: the next candidate counts.
        QDir().mkpath(m_folder.filePath(QStringLiteral("index.htm")));
        QCOMPARE(FindLocalHelpFile(), QString());
        MakeFile(m_folder.filePath(QStringLiteral("hilfe/index.html")));
        QCOMPARE(FindLocalHelpFile(),
                 Native(m_folder.filePath(QStringLiteral("hilfe/index.html"))));
    }

    void noHelpPageAsksForTheOnlineManual()
    {
        const QString manual = MakerWebAddress() + QStringLiteral("/?go=velkaro");

        m_messages->setNextAnswer(MessageAnswer::Cancel);
        ShowHelp();
        QList<ShownMessage> shown = m_messages->takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.at(0).text,
                 QStringLiteral("Die aktuelle Anleitung zu ''Velkaro 2005'' ist online bei ") +
                     MakerSiteName() +
                     QStringLiteral(" verfügbar.\r\rKlicken Sie bitte ''OK'', um diese Seite "
                                    "jetzt anzeigen zu lassen ..."));
        QCOMPARE(shown.at(0).icon, MessageIcon::Information);
        QCOMPARE(shown.at(0).buttons, MessageButtons::OkCancel);
        QVERIFY(TakeShellOpenRequests().isEmpty());

        m_messages->setNextAnswer(MessageAnswer::Ok);
        ShowHelp();
        QCOMPARE(m_messages->takeShown().size(), 1);
        const QList<ShellOpenRequest> opened = TakeShellOpenRequests();
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

        OpenMakerSite(QString());
        OpenOnlineManual();
        const QList<ShellOpenRequest> opened = TakeShellOpenRequests();
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
    }

    void shellOpenWindowState()
    {
        ShellOpen(QStringLiteral("https://a.example"), 0);
        ShellOpen(QStringLiteral("https://a.example"), ShellWindowMaximised);
        const QList<ShellOpenRequest> opened = TakeShellOpenRequests();
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened.at(0).windowState, ShellWindowNormal);
        QCOMPARE(opened.at(1).windowState, ShellWindowMaximised);
    }

    // The build copies the pages beside the program; every page, picture and
    // stylesheet they name must be there too.
    void builtHelpPagesAreComplete()
    {
        const QString programFolder = QStringLiteral(VELKARO_PROGRAM_DIR);
        SetProgramFolderForTesting(Native(programFolder));
        const QString page = FindLocalHelpFile();
        QCOMPARE(page, Native(programFolder + QStringLiteral("/hilfe/index.htm")));

        QFile file(page);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        const QString html = QString::fromUtf8(bytes);
        QCOMPARE(html.toUtf8(), bytes); // valid UTF-8 throughout
        QVERIFY(html.contains(QStringLiteral("<meta charset=\"utf-8\">")));

        // The main window's pictures arrive with the window; until then they
        // may be missing, everything else may not.
        const QSet<QString> pending{QStringLiteral("bilder/hauptfenster-kompakt.png"),
                                    QStringLiteral("bilder/hauptfenster-erweitert.png")};
        const QRegularExpression link(QStringLiteral("(?:href|src)=\"([^\"#:]+)\""));
        int links = 0;
        for (auto it = link.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            ++links;
            if (pending.contains(target))
                continue;
            QVERIFY2(QFileInfo::exists(QFileInfo(page).dir().filePath(target)), qPrintable(target));
        }
        QVERIFY(links >= 3);

        const QRegularExpression anchor(QStringLiteral("href=\"#([^\"]+)\""));
        for (auto it = anchor.globalMatch(html); it.hasNext();) {
            const QString id = it.next().captured(1);
            QVERIFY2(html.contains(QStringLiteral("id=\"") + id + QLatin1Char('"')),
                     qPrintable(id));
        }
    }

private:
    std::optional<ScriptedMessages> m_messages;
    QTemporaryDir m_folder;
};

QTEST_MAIN(TestHelp)
#include "test_help.moc"

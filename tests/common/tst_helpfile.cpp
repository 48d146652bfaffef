// The help page beside the program, found as the Help command looks for it.
#include "HelpFile.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace velkaro;
using velkaro::test::MakeFile;
using velkaro::test::Native;

class HelpFileTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QVERIFY(m_folder.isValid()); }

    void cleanup()
    {
        QDir(m_folder.path()).removeRecursively();
        QDir().mkpath(m_folder.path());
    }

    void helpPageMustBeAFile()
    {
        // A folder named like a page is no page: the next candidate counts.
        QDir().mkpath(m_folder.filePath(QStringLiteral("index.htm")));
        const QString folder = Native(m_folder.path());
        QCOMPARE(FindLocalHelpFile(folder), QString());
        MakeFile(m_folder.filePath(QStringLiteral("hilfe/index.html")));
        QCOMPARE(FindLocalHelpFile(folder),
                 Native(m_folder.filePath(QStringLiteral("hilfe/index.html"))));
    }

    // The build copies the pages beside the program; every page, picture and
    // stylesheet they name must be there too.
    void builtHelpPagesAreComplete()
    {
        const QString programFolder = QStringLiteral(VELKARO_PROGRAM_DIR);
        const QString page = FindLocalHelpFile(Native(programFolder));
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
    QTemporaryDir m_folder;
};

QTEST_GUILESS_MAIN(HelpFileTest)
#include "tst_helpfile.moc"

#include "AutorunFile.h"
#include "Autostart.h"
#include "FileHelpers.h"
#include "MainIconList.h"
#include "MakerInfo.h"
#include "Messages.h"
#include "Project.h"
#include "TestEnvironment.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <optional>

using namespace velkaro;
using velkaro::test::ReadAll;
using velkaro::test::WriteRaw;

namespace {

// The thirteen header lines for a run on 8 December 2026 at 14:05:09, German
// regional settings.
QByteArray ExpectedHeader()
{
    const QByteArray rule = ";" + QByteArray(70, '*') + "\r\n";
    return rule + ";* AUTORUN.INF (Erstellt: 08.12.26 14:05:09)\r\n" + rule +
           ";* Diese Datei steuert den Autostart von CDs anhand der Quenbrook-Software\r\n"
           ";* Velkaro 2005/Pirolo. Details hierzu finden Sie in\r\n"
           ";* der Online-Hilfe von Velkaro 2005 bzw. im Internet unter\r\n"
           ";* " +
           ProductPageAddress().toLatin1() + "\r\n" + rule +
           ";* Alle Rechte vorbehalten. Copyright (c) 2005-2026\r\n"
           ";* " +
           MakerName().toLatin1() + "\r\n;* " + MakerSupportEmail().toLatin1() + "\r\n" + rule +
           "\r\n";
}

} // namespace

class AutostartTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void relativePaths();
    void exampleDiscByteForByte();
    void sectionVariants_data();
    void sectionVariants();
    void placeholdersInTextsStayAsTyped();
    void timestampForms();
    void realClockTimestampHasItsForm();
    void cdRootGoneBeforeOk();
    void autorunCannotBeCreated();
    void launcherMissing();
    void readOnlyAutorunReplacedWithoutQuestion();
    void halfFilledRowTouchesNothing();
    void iconCannotBeWritten();
    void libraryIconLoadsBackAsIcon();
    void completionQuestion();

private:
    std::optional<test::TestEnvironment> m_test;
    Project* m_project = nullptr;
    QTemporaryDir m_tmp;
    QString m_root;    // the CD root, with its closing separator
    QString m_program; // the program folder holding the launcher
    AutostartEnvironment m_env;

    QString Cd(const QString& relative) const { return m_root + relative; }
    QByteArray Autorun() const { return ReadAll(Cd("AutoRun.Inf")); }
    AutostartOutcome RunOk();
};

void AutostartTest::init()
{
    m_test.emplace();
    QDir(m_tmp.path()).removeRecursively();
    QVERIFY(QDir().mkpath(m_tmp.filePath("Projekt/CD/start")));
    QVERIFY(QDir().mkpath(m_tmp.filePath("Programm")));
    // As the program has them: with the system's separator.
    m_root = QDir::toNativeSeparators(m_tmp.filePath("Projekt/CD")) + QDir::separator();
    m_program = QDir::toNativeSeparators(m_tmp.filePath("Programm")) + QDir::separator();
    WriteRaw(m_program + "Pirolo.Exe", QByteArray("MZ launcher bytes"));

    m_env.clock = [] { return QDateTime(QDate(2026, 12, 8), QTime(14, 5, 9)); };
    m_env.locale = QLocale(QLocale::German, QLocale::Germany);
    m_env.programFolder = m_program;

    m_project = new Project;
    m_project->TakeCdRoot(m_tmp.filePath("Projekt/CD"));
    m_project->AcceptSlotPath(1, Cd("start/index.htm"));
    m_project->UpdateOkButton();
}

void AutostartTest::cleanup()
{
    delete m_project;
    m_test.reset();
}

AutostartOutcome AutostartTest::RunOk()
{
    const ProjectData before = m_project->data();
    m_test->messages().setNextAnswer(MessageAnswer::No);
    const AutostartOutcome outcome = WriteAutostart(*m_project, m_env);
    // Whatever happened, the project is as it was.
    [&] { QCOMPARE(m_project->data(), before); }();
    return outcome;
}

void AutostartTest::relativePaths()
{
    m_project->AcceptSlotPath(1, Cd("start/index.htm"));
    QCOMPARE(CdRelativePath(*m_project, 1), QStringLiteral("start\\index.htm"));
    m_project->AcceptSlotPath(1, Cd("Bilder/"));
    QCOMPARE(CdRelativePath(*m_project, 1), QStringLiteral("Bilder\\"));
    m_project->AcceptSlotPath(1, m_root);
    QCOMPARE(CdRelativePath(*m_project, 1), QStringLiteral("\\"));

    // The short-name form: a path that does not exist has no short form.
    m_project->setUseLongNames(false);
    m_project->AcceptSlotPath(1, Cd("start/"));
    QCOMPARE(CdRelativePath(*m_project, 1), QStringLiteral("start\\"));
    m_project->AcceptSlotPath(1, Cd("fehlt/index.htm"));
    QCOMPARE(CdRelativePath(*m_project, 1), QStringLiteral("\\"));
}

void AutostartTest::exampleDiscByteForByte()
{
    m_project->setMenuText(0, QStringLiteral("Handbuch"));
    m_project->AcceptSlotPath(2, Cd("doku/handbuch.pdf"));
    m_project->setIconSlot(IconSource::Library);
    m_project->setIcon({MainIconListPicture(2).image, QByteArray("ICON")});

    QCOMPARE(RunOk(), AutostartOutcome::Completed);
    const QByteArray expected = ExpectedHeader() +
                                "[autorun]\r\n"
                                "open = Pirolo.Exe \"start\\index.htm\"\r\n"
                                "icon = AutoRun.Ico\r\n"
                                "shell\\0 = &Handbuch\r\n"
                                "shell\\0\\command = Pirolo.Exe \"doku\\handbuch.pdf\"\r\n"
                                "shell\\qb = &\xDC"
                                "ber Pirolo ...\r\n"
                                "shell\\qb\\command = Pirolo.Exe\r\n";
    QCOMPARE(Autorun(), expected);
    // What the disc check reads of it: the files the entries ask for.
    const AutorunContent read = ReadAutorun(Autorun());
    QVERIFY(read.hasSection && read.hasStart);
    QStringList references;
    for (const DiscReference& reference : read.references)
        references.append(reference.entry + QLatin1Char('|') + reference.path);
    QCOMPARE(references,
             (QStringList{"open|Pirolo.Exe", "open|start\\index.htm", "icon|AutoRun.Ico",
                          "shell\\0\\command|Pirolo.Exe", "shell\\0\\command|doku\\handbuch.pdf",
                          "shell\\qb\\command|Pirolo.Exe"}));
    QCOMPARE(ReadAll(Cd("Pirolo.Exe")), QByteArray("MZ launcher bytes"));
    QCOMPARE(ReadAll(Cd("AutoRun.Ico")), QByteArray("ICON"));

    const QList<ShownMessage> shown = m_test->messages().takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().text,
             QStringLiteral("Die CD-Autostart-Einstellungen wurden erfolgreich vorgenommen. Sie "
                            "können jetzt mit dem Testen bzw. dem Brennen Ihres CD-Projekts "
                            "beginnen.\r\rMöchten Sie Velkaro 2005 jetzt beenden?"));
    QCOMPARE(shown.first().buttons, MessageButtons::YesNo);
    QCOMPARE(shown.first().defaultAnswer, MessageAnswer::Yes);
}

void AutostartTest::sectionVariants_data()
{
    QTest::addColumn<QStringList>("menuTexts"); // rows 0..2, "" leaves the row empty
    QTest::addColumn<QStringList>("documents");
    QTest::addColumn<QString>("target"); // relative to the root
    QTest::addColumn<QString>("icon");   // empty, launcher, or file: an icon file in the root
    QTest::addColumn<QByteArray>("section");

    const QByteArray maker = "shell\\qb = &\xDC"
                             "ber Pirolo ...\r\nshell\\qb\\command = Pirolo.Exe\r\n";
    QTest::newRow("only row 2, no icon")
        << QStringList{"", "", "Preise"} << QStringList{"", "", "p/preise.pdf"} << "start/index.htm"
        << QString()
        << QByteArray(
               "open = Pirolo.Exe \"start\\index.htm\"\r\n"
               "shell\\2 = &Preise\r\nshell\\2\\command = Pirolo.Exe \"p\\preise.pdf\"\r\n") +
               maker;
    QTest::newRow("target is the root, default icon")
        << QStringList{"", "", ""} << QStringList{"", "", ""} << "" << QString("launcher")
        << QByteArray("open = Pirolo.Exe \"\\\"\r\nicon = Pirolo.Exe\r\n") + maker;
    QTest::newRow("folder target, icon file")
        << QStringList{"", "", ""} << QStringList{"", "", ""} << "Bilder/"
        << "file"
        << QByteArray("open = Pirolo.Exe \"Bilder\\\"\r\nicon = \"icons\\disc.ico\"\r\n") + maker;
    QTest::newRow("blanks around, umlaut, blank row skipped")
        << QStringList{"  Übersicht  ", "   ", " Liesmich"}
        << QStringList{"a.htm", "", "b c/Lies mich.txt"} << "start/index.htm" << QString()
        << QByteArray("open = Pirolo.Exe \"start\\index.htm\"\r\n"
                      "shell\\0 = &\xDC"
                      "bersicht\r\nshell\\0\\command = Pirolo.Exe \"a.htm\"\r\n"
                      "shell\\2 = &Liesmich\r\n"
                      "shell\\2\\command = Pirolo.Exe \"b c\\Lies mich.txt\"\r\n") +
               maker;
    QTest::newRow("control characters become blanks")
        << QStringList{"Zeile\r\nzwei\tdrei", "", ""} << QStringList{"x.txt", "", ""}
        << "start/index.htm" << QString()
        << QByteArray("open = Pirolo.Exe \"start\\index.htm\"\r\n"
                      "shell\\0 = &Zeile  zwei drei\r\nshell\\0\\command = Pirolo.Exe "
                      "\"x.txt\"\r\n") +
               maker;
    QTest::newRow("characters outside Windows-1252")
        << QStringList{"Preis €5 \u2192 \u4e2d", "", ""} << QStringList{"x.txt", "", ""}
        << "start/index.htm" << QString()
        << QByteArray("open = Pirolo.Exe \"start\\index.htm\"\r\n"
                      "shell\\0 = &Preis \x80"
                      "5 ? ?\r\nshell\\0\\command = Pirolo.Exe \"x.txt\"\r\n") +
               maker;
}

void AutostartTest::sectionVariants()
{
    QFETCH(QStringList, menuTexts);
    QFETCH(QStringList, documents);
    QFETCH(QString, target);
    QFETCH(QString, icon);
    QFETCH(QByteArray, section);

    m_project->AcceptSlotPath(1, Cd(target));
    for (int row = 0; row < Project::RowCount; ++row) {
        if (!documents.at(row).isEmpty())
            m_project->AcceptSlotPath(Project::RowSlot(row), Cd(documents.at(row)));
        m_project->setMenuText(row, menuTexts.at(row));
    }
    if (icon == QLatin1String("file")) {
        QVERIFY(QDir().mkpath(Cd("icons")));
        QVERIFY(QFile::copy(":/mainiconlist/disc.ico", Cd("icons/disc.ico")));
        m_project->AcceptSlotPath(Project::IconSlot, Cd("icons/disc.ico"));
    } else {
        m_project->setIconSlot(icon == "launcher" ? IconSource::Launcher : IconSource::None);
    }

    QCOMPARE(RunOk(), AutostartOutcome::Completed);
    QCOMPARE(Autorun(), ExpectedHeader() + "[autorun]\r\n" + section);
    // Only a library icon is written as AutoRun.Ico.
    QVERIFY(!QFileInfo::exists(Cd("AutoRun.Ico")));
    QCOMPARE(m_test->messages().takeShown().size(), 1);
}

void AutostartTest::placeholdersInTextsStayAsTyped()
{
    QVERIFY(QDir().mkpath(Cd("%y%")));
    m_project->AcceptSlotPath(1, Cd("%y%/50%t%.htm"));
    m_project->setMenuText(0, QStringLiteral("50%t% und %y%"));
    m_project->AcceptSlotPath(2, Cd("a.htm"));
    QCOMPARE(RunOk(), AutostartOutcome::Completed);
    const QByteArray text = Autorun();
    QVERIFY(text.contains("open = Pirolo.Exe \"%y%\\50%t%.htm\"\r\n"));
    QVERIFY(text.contains("shell\\0 = &50%t% und %y%\r\n"));
}

void AutostartTest::timestampForms()
{
    const QLocale german(QLocale::German, QLocale::Germany);
    QCOMPARE(AutorunTimestamp(QDateTime(QDate(2026, 1, 2), QTime(0, 0)), german),
             QStringLiteral("02.01.26"));
    QCOMPARE(AutorunTimestamp(QDateTime(QDate(2026, 1, 2), QTime(0, 0, 1)), german),
             QStringLiteral("02.01.26 00:00:01"));
    // The time keeps its seconds and loses the time zone in other locales too.
    const QString us = AutorunTimestamp(QDateTime(QDate(2026, 1, 2), QTime(15, 4, 5)),
                                        QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY2(us.startsWith(QStringLiteral("1/2/26 3:04:05")), qPrintable(us));
    QVERIFY2(us.endsWith(QStringLiteral("PM")), qPrintable(us));
}

void AutostartTest::realClockTimestampHasItsForm()
{
    m_env = AutostartEnvironment{};
    m_env.locale = QLocale(QLocale::German, QLocale::Germany);
    m_env.programFolder = m_program;
    QCOMPARE(RunOk(), AutostartOutcome::Completed);
    const QString line = QString::fromLatin1(Autorun().split('\n').at(1));
    const QRegularExpression form(QStringLiteral(
        "^;\\* AUTORUN\\.INF \\(Erstellt: \\d\\d\\.\\d\\d\\.\\d\\d( \\d\\d:\\d\\d:\\d\\d)?\\)\r$"));
    QVERIFY2(form.match(line).hasMatch(), qPrintable(line));
    QVERIFY(Autorun().contains("2005-" + QByteArray::number(QDate::currentDate().year()) + "\r\n"));
}

void AutostartTest::cdRootGoneBeforeOk()
{
    QVERIFY(QDir(m_root).removeRecursively());
    QCOMPARE(RunOk(), AutostartOutcome::Failed);
    const QList<ShownMessage> shown = m_test->messages().takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, MessageIcon::Error);
    QCOMPARE(shown.first().text, "Die CD-Autostart-Einstellungen konnten nicht gespeichert werden. "
                                 "Beim Schreiben der Datei\r\r    " +
                                     m_root +
                                     "AutoRun.Inf\r\rkam es zu folgendem Fehler:\r\r"
                                     "    Pfad nicht gefunden (Code 76)");
    QVERIFY(!QFileInfo::exists(m_root));
}

void AutostartTest::autorunCannotBeCreated()
{
    QVERIFY(QDir().mkpath(Cd("AutoRun.Inf")));
    QCOMPARE(RunOk(), AutostartOutcome::Failed);
    const QList<ShownMessage> shown = m_test->messages().takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown.first().text.endsWith(
        "AutoRun.Inf\r\rkam es zu folgendem Fehler:\r\r    Fehler beim Zugriff auf Pfad/Datei "
        "(Code 75)"));
    QVERIFY(!QFileInfo::exists(Cd("Pirolo.Exe")));
}

void AutostartTest::launcherMissing()
{
    QVERIFY(QFile::remove(m_program + "Pirolo.Exe"));
    m_project->setIconSlot(IconSource::Library);
    QCOMPARE(RunOk(), AutostartOutcome::Failed);
    const QList<ShownMessage> shown = m_test->messages().takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().icon, MessageIcon::Error);
    QCOMPARE(shown.first().text,
             "Die für einen korrekten CD-Autostart notwendige Datei Pirolo.Exe ließ sich nicht "
             "von\r\r    " +
                 m_program + "Pirolo.Exe\r\rnach\r\r    " + m_root +
                 "Pirolo.Exe\r\rkopieren. Es kam dabei zu folgendem Fehler:\r\r"
                 "    Datei nicht gefunden (Code 53)");
    // The new AutoRun.Inf stays; nothing after the failed step is written.
    QVERIFY(Autorun().startsWith(";****"));
    QVERIFY(!QFileInfo::exists(Cd("Pirolo.Exe")));
    QVERIFY(!QFileInfo::exists(Cd("AutoRun.Ico")));
}

void AutostartTest::readOnlyAutorunReplacedWithoutQuestion()
{
    WriteRaw(Cd("AutoRun.Inf"), QByteArray(10000, 'a'));
    QVERIFY(QFile::setPermissions(Cd("AutoRun.Inf"), QFileDevice::ReadOwner));
    WriteRaw(Cd("Pirolo.Exe"), QByteArray("old launcher, longer than the new one"));
    QCOMPARE(RunOk(), AutostartOutcome::Completed);
    QVERIFY(Autorun().startsWith(";****"));
    QVERIFY(Autorun().endsWith("shell\\qb\\command = Pirolo.Exe\r\n"));
    QCOMPARE(ReadAll(Cd("Pirolo.Exe")), QByteArray("MZ launcher bytes"));
    QCOMPARE(m_test->messages().takeShown().size(), 1); // the success question only
}

void AutostartTest::halfFilledRowTouchesNothing()
{
    WriteRaw(Cd("AutoRun.Inf"), "alt");
    m_project->setMenuText(1, QStringLiteral("Handbuch"));
    m_project->setIconSlot(IconSource::Library);
    QCOMPARE(RunOk(), AutostartOutcome::Refused);
    QCOMPARE(Autorun(), QByteArray("alt"));
    QVERIFY(!QFileInfo::exists(Cd("Pirolo.Exe")));
    const QList<ShownMessage> shown = m_test->messages().takeShown();
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown.first().text.startsWith("Ihre Angaben unter Schritt (3)"));
}

void AutostartTest::iconCannotBeWritten()
{
    QVERIFY(QDir().mkpath(Cd("AutoRun.Ico")));
    m_project->setIconSlot(IconSource::Library);
    m_project->setIcon({MainIconListPicture(2).image, QByteArray("ICON")});
    QCOMPARE(RunOk(), AutostartOutcome::Failed);
    const QList<ShownMessage> shown = m_test->messages().takeShown();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown.first().text,
             QStringLiteral("Das von Ihnen ausgewählte Icon konnte nicht auf dem Datenträger "
                            "angelegt werden. Es kam dabei zu folgendem Fehler:\r\r"
                            "    Fehler beim Zugriff auf Pfad/Datei (Code 75)"));
    QVERIFY(Autorun().startsWith(";****"));
    QCOMPARE(ReadAll(Cd("Pirolo.Exe")), QByteArray("MZ launcher bytes"));
}

void AutostartTest::libraryIconLoadsBackAsIcon()
{
    QFile disc(":/mainiconlist/disc.ico");
    QVERIFY(disc.open(QIODevice::ReadOnly));
    const QByteArray bytes = disc.readAll();
    m_project->setIconSlot(IconSource::Library);
    m_project->setIcon({MainIconListPicture(2).image, bytes});
    QCOMPARE(RunOk(), AutostartOutcome::Completed);
    QCOMPARE(ReadAll(Cd("AutoRun.Ico")), bytes);

    {
        // Closed again before the next OK: Windows replaces no open file.
        QImageReader reader(Cd("AutoRun.Ico"));
        QCOMPARE(reader.format(), QByteArray("ico"));
        bool has32 = false;
        for (int i = 0; i < reader.imageCount(); ++i) {
            QVERIFY(reader.jumpToImage(i));
            has32 = has32 || reader.read().size() == QSize(32, 32);
        }
        QVERIFY(has32);
    }

    // A picture without file bytes is encoded as an icon of its own.
    m_project->setIcon({MainIconListPicture(2).image, QByteArray()});
    QCOMPARE(RunOk(), AutostartOutcome::Completed);
    QCOMPARE(QImageReader(Cd("AutoRun.Ico")).format(), QByteArray("ico"));
    QCOMPARE(QImage(Cd("AutoRun.Ico")).size(), QSize(32, 32));
}

void AutostartTest::completionQuestion()
{
    m_test->messages().setNextAnswer(MessageAnswer::Yes);
    QCOMPARE(WriteAutostart(*m_project, m_env), AutostartOutcome::Quit);
    m_test->messages().setNextAnswer(MessageAnswer::No);
    QCOMPARE(WriteAutostart(*m_project, m_env), AutostartOutcome::Completed);
}

QTEST_GUILESS_MAIN(AutostartTest)
#include "tst_autostart.moc"

#include "LauncherCommandLine.h"
#include "LauncherTexts.h"

#include <QTest>

using namespace velkaro;

namespace {

QString Text(const std::wstring& text)
{
    return QString::fromStdWString(text);
}

std::wstring Wide(const QString& text)
{
    return text.toStdWString();
}

} // namespace

class LauncherCommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void readsTheArgument_data();
    void readsTheArgument();
    void joinsWithTheDiscRoot_data();
    void joinsWithTheDiscRoot();
    void findsTheFolderOfAPath_data();
    void findsTheFolderOfAPath();
    void resolvesTheEntriesVelkaroWrites_data();
    void resolvesTheEntriesVelkaroWrites();
    void aboutTextNamesVersionAndMaker();
    void messagesNameThePathOnALineOfItsOwn();
    void openFailureDescribesTheError_data();
    void openFailureDescribesTheError();
    void shellExecuteFailureGivesItsCode_data();
    void shellExecuteFailureGivesItsCode();
};

void LauncherCommandLineTest::readsTheArgument_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<bool>("hasArgument");
    QTest::addColumn<QString>("argument");

    QTest::newRow("the disc root") << R"(Pirolo.Exe "\")" << true << R"(\)";
    QTest::newRow("a folder") << R"(Pirolo.Exe "Bilder\")" << true << R"(Bilder\)";
    QTest::newRow("a document") << R"(Pirolo.Exe "start\index.htm")" << true
                                << R"(start\index.htm)";
    QTest::newRow("blanks, umlauts and percent signs")
        << R"(Pirolo.Exe "Meine Bilder\Übersicht 100% %t% %1.pdf")" << true
        << R"(Meine Bilder\Übersicht 100% %t% %1.pdf)";
    QTest::newRow("missing closing quotation mark")
        << "Pirolo.Exe \"Bilder\\Urlaub 2005\\  " << true << R"(Bilder\Urlaub 2005\)";
    QTest::newRow("no argument") << "Pirolo.Exe" << false << QString();
    QTest::newRow("only blanks after the name") << "Pirolo.Exe  \t " << false << QString();
    QTest::newRow("empty command line") << "" << false << QString();
    QTest::newRow("extra blanks and tabs")
        << "Pirolo.Exe  \t  \"doku\\handbuch.pdf\"   " << true << R"(doku\handbuch.pdf)";
    QTest::newRow("blanks inside the quotation marks kept")
        << R"(Pirolo.Exe " Bilder\ ")" << true << R"( Bilder\ )";
    QTest::newRow("quoted program name with blanks")
        << R"("C:\Program Files\Meine CD\Pirolo.Exe" "Bilder\")" << true << R"(Bilder\)";
    QTest::newRow("quoted program name without argument")
        << R"("E:\Meine CD\Pirolo.Exe"  )" << false << QString();
    QTest::newRow("quoted program name directly followed by the argument")
        << R"("E:\Pirolo.Exe""\")" << true << R"(\)";
    QTest::newRow("quoted program name never closed")
        << R"("E:\Meine CD\Pirolo.Exe "x")" << true << R"(x")";
    QTest::newRow("unquoted program name with a full path")
        << R"(E:\Pirolo.Exe "doku\")" << true << R"(doku\)";
    QTest::newRow("unquoted argument with blanks")
        << "Pirolo.Exe doku\\Hand buch.pdf  " << true << R"(doku\Hand buch.pdf)";
    QTest::newRow("empty quoted argument") << R"(Pirolo.Exe "")" << true << QString();
    QTest::newRow("text after the closing mark ignored")
        << R"(Pirolo.Exe "a.pdf" "b.pdf")" << true << "a.pdf";
}

void LauncherCommandLineTest::readsTheArgument()
{
    QFETCH(QString, commandLine);
    QFETCH(bool, hasArgument);
    QFETCH(QString, argument);

    const std::optional<std::wstring> read = ReadLauncherArgument(Wide(commandLine));
    QCOMPARE(read.has_value(), hasArgument);
    if (read) {
        QCOMPARE(Text(*read), argument);
    }
}

void LauncherCommandLineTest::joinsWithTheDiscRoot_data()
{
    QTest::addColumn<QString>("discRoot");
    QTest::addColumn<QString>("relativePath");
    QTest::addColumn<bool>("onDisc");
    QTest::addColumn<QString>("fullPath");

    const QString e = R"(E:\)";
    QTest::newRow("the root") << e << R"(\)" << true << R"(E:\)";
    QTest::newRow("empty path is the root") << e << "" << true << R"(E:\)";
    QTest::newRow("a folder keeps its backslash") << e << R"(Bilder\)" << true << R"(E:\Bilder\)";
    QTest::newRow("a document") << e << R"(start\index.htm)" << true << R"(E:\start\index.htm)";
    QTest::newRow("leading backslash means the root")
        << e << R"(\Bilder\)" << true << R"(E:\Bilder\)";
    QTest::newRow("a doubled leading backslash stays on the disc")
        << e << R"(\\server\share\x.pdf)" << true << R"(E:\server\share\x.pdf)";
    QTest::newRow("blanks, umlauts and percent signs")
        << e << R"(Meine Bilder\Übersicht 100%.pdf)" << true
        << R"(E:\Meine Bilder\Übersicht 100%.pdf)";
    QTest::newRow("forward slashes kept")
        << e << "doku/handbuch.pdf" << true << R"(E:\doku/handbuch.pdf)";
    QTest::newRow("dots inside names are fine")
        << e << R"(..x\a..b.pdf)" << true << R"(E:\..x\a..b.pdf)";
    QTest::newRow("a single dot stays on the disc")
        << e << R"(.\start.htm)" << true << R"(E:\.\start.htm)";
    QTest::newRow("launcher in a subfolder of a network share")
        << R"(\\server\cds\Projekt 1\)"
        << "a.pdf" << true << R"(\\server\cds\Projekt 1\a.pdf)";
    QTest::newRow("root without closing backslash") << R"(E:\CD)"
                                                    << "a.pdf" << true << R"(E:\CD\a.pdf)";

    QTest::newRow("parent folder") << e << R"(..\x.pdf)" << false << QString();
    QTest::newRow("parent folder alone") << e << ".." << false << QString();
    QTest::newRow("climbing out from a subfolder")
        << e << R"(Bilder\..\..\Windows\)" << false << QString();
    QTest::newRow("climbing with forward slashes") << e << "Bilder/../../x" << false << QString();
    QTest::newRow("dots and blanks that Windows trims to ..")
        << e << R"(.. \x.pdf)" << false << QString();
    QTest::newRow("three dots") << e << R"(...\x.pdf)" << false << QString();
    QTest::newRow("a drive letter") << e << R"(C:\Windows\)" << false << QString();
    QTest::newRow("a drive-relative path") << e << "C:x.pdf" << false << QString();
    QTest::newRow("a stream name") << e << "x.pdf:geheim" << false << QString();
}

void LauncherCommandLineTest::joinsWithTheDiscRoot()
{
    QFETCH(QString, discRoot);
    QFETCH(QString, relativePath);
    QFETCH(bool, onDisc);
    QFETCH(QString, fullPath);

    const std::optional<std::wstring> joined = JoinWithDiscRoot(Wide(discRoot), Wide(relativePath));
    QCOMPARE(joined.has_value(), onDisc);
    if (joined) {
        QCOMPARE(Text(*joined), fullPath);
    }
}

void LauncherCommandLineTest::findsTheFolderOfAPath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");

    QTest::newRow("launcher in the disc root") << R"(E:\Pirolo.Exe)"
                                               << R"(E:\)";
    QTest::newRow("long path form") << R"(\\?\E:\CD Inhalt\Pirolo.Exe)"
                                    << R"(\\?\E:\CD Inhalt\)";
    QTest::newRow("a document") << R"(E:\doku\handbuch.pdf)"
                                << R"(E:\doku\)";
    QTest::newRow("a folder is its own folder") << R"(E:\Bilder\)"
                                                << R"(E:\Bilder\)";
    QTest::newRow("no folder at all") << "Pirolo.Exe" << QString();
}

void LauncherCommandLineTest::findsTheFolderOfAPath()
{
    QFETCH(QString, path);
    QFETCH(QString, folder);

    QCOMPARE(Text(FolderOfPath(Wide(path))), folder);
}

void LauncherCommandLineTest::resolvesTheEntriesVelkaroWrites_data()
{
    QTest::addColumn<QString>("commandLine");
    QTest::addColumn<QString>("modulePath");
    QTest::addColumn<QString>("target");

    // What the shell starts for "open = Pirolo.Exe "..."" with the disc in
    // drive F:, once with the name as written and once completed.
    QTest::newRow("start entry, the root") << R"(Pirolo.Exe "\")"
                                           << R"(F:\Pirolo.Exe)"
                                           << R"(F:\)";
    QTest::newRow("start entry, a folder") << R"("F:\Pirolo.Exe" "Bilder 2005\")"
                                           << R"(F:\Pirolo.Exe)"
                                           << R"(F:\Bilder 2005\)";
    QTest::newRow("context entry, a document") << R"(F:\Pirolo.Exe "doku\Preise 10%.pdf")"
                                               << R"(F:\Pirolo.Exe)"
                                               << R"(F:\doku\Preise 10%.pdf)";
}

void LauncherCommandLineTest::resolvesTheEntriesVelkaroWrites()
{
    QFETCH(QString, commandLine);
    QFETCH(QString, modulePath);
    QFETCH(QString, target);

    const std::optional<std::wstring> argument = ReadLauncherArgument(Wide(commandLine));
    QVERIFY(argument.has_value());
    const std::optional<std::wstring> full =
        JoinWithDiscRoot(FolderOfPath(Wide(modulePath)), *argument);
    QVERIFY(full.has_value());
    QCOMPARE(Text(*full), target);
}

void LauncherCommandLineTest::aboutTextNamesVersionAndMaker()
{
    const QString about = Text(AboutText());
    QVERIFY2(about.startsWith(QStringLiteral("Pirolo, Version " VELKARO_TEST_VERSION "\r\n")),
             qPrintable(about));
    QVERIFY(about.contains(QStringLiteral("Diese CD wurde mit Velkaro 2005 erstellt.")));
    QVERIFY(about.contains(QStringLiteral("Kontextmenü")));
    QVERIFY(about.contains(QStringLiteral(VELKARO_TEST_MAKER_NAME)));
    QVERIFY(about.contains(QStringLiteral(VELKARO_TEST_MAKER_HOST).toLower()));
    QCOMPARE(Text(PiroloTitle()), QStringLiteral("Pirolo"));
}

void LauncherCommandLineTest::messagesNameThePathOnALineOfItsOwn()
{
    const QString path = QStringLiteral(R"(F:\Meine Bilder\Übersicht 100%.pdf)");
    const QString indented = QStringLiteral("\r\n\r\n    ") + path + QStringLiteral("\r\n\r\n");

    const QString missing = Text(MissingObjectText(Wide(path)));
    QCOMPARE(missing, QStringLiteral("Die Datei bzw. der Ordner") + indented +
                          QStringLiteral("ist auf dieser CD nicht vorhanden und lässt sich "
                                         "daher nicht öffnen."));

    const QString outside = Text(NotOnDiscText(LR"(..\..\Windows\)"));
    QVERIFY2(outside.startsWith(QStringLiteral("Der Pfad\r\n\r\n    ..\\..\\Windows\\\r\n\r\n")),
             qPrintable(outside));
    QVERIFY(outside.contains(QStringLiteral("auf dieser CD")));

    const QString failed = Text(OpenFailedText(Wide(path), 5, L""));
    QVERIFY2(failed.startsWith(QStringLiteral("Die Datei bzw. der Ordner") + indented +
                               QStringLiteral("ließ sich nicht öffnen.")),
             qPrintable(failed));
}

void LauncherCommandLineTest::openFailureDescribesTheError_data()
{
    QTest::addColumn<uint>("code");
    QTest::addColumn<QString>("systemText");
    QTest::addColumn<QString>("lastLine");

    QTest::newRow("no associated program, German whatever the system says")
        << 1155u << "No application is associated with the specified file.\r\n"
        << "Für diese Datei ist kein Programm zum Öffnen eingerichtet. (Code 1155)";
    QTest::newRow("access denied") << 5u << ""
                                   << "Zugriff verweigert. (Code 5)";
    QTest::newRow("drive not ready") << 21u << ""
                                     << "Das Laufwerk ist nicht bereit. (Code 21)";
    QTest::newRow("other code: the system's text, trimmed") << 1234u << "Irgendein Fehler.\r\n"
                                                            << "Irgendein Fehler. (Code 1234)";
    QTest::newRow("other code without a system text") << 4294967295u << ""
                                                      << "Unbekannter Fehler. (Code 4294967295)";
    QTest::newRow("code zero") << 0u << " \r\n"
                               << "Unbekannter Fehler. (Code 0)";
    QTest::newRow("in use by another program") << 32u << ""
                                               << "Die Datei wird von einem anderen Programm "
                                                  "verwendet. (Code 32)";
    QTest::newRow("library missing") << 1157u << ""
                                     << "Eine Programmbibliothek, die zum Öffnen nötig ist, "
                                        "wurde nicht gefunden. (Code 1157)";
    // The system's texts come with their inserts unfilled.
    QTest::newRow("the system's %1 is the path")
        << 193u << "Fehlerhaftes EXE-Format für %1.\r\n"
        << "Fehlerhaftes EXE-Format für F:\\a.pdf. (Code 193)";
    QTest::newRow("other inserts dropped, formats too") << 4000u << "%1!s! und %2, %10; 100% %"
                                                        << "F:\\a.pdf und , ; 100% % (Code 4000)";
}

void LauncherCommandLineTest::openFailureDescribesTheError()
{
    QFETCH(uint, code);
    QFETCH(QString, systemText);
    QFETCH(QString, lastLine);

    const QString text = Text(OpenFailedText(LR"(F:\a.pdf)", code, Wide(systemText)));
    QVERIFY2(
        text.contains(QStringLiteral("Es kam dabei zu folgendem Fehler:\r\n\r\n    ") + lastLine),
        qPrintable(text));
    QVERIFY(text.endsWith(lastLine));
}

void LauncherCommandLineTest::shellExecuteFailureGivesItsCode_data()
{
    QTest::addColumn<quint64>("instApp");
    QTest::addColumn<uint>("lastError");
    QTest::addColumn<uint>("code");

    QTest::newRow("no association, last error unset") << quint64(31) << 0u << 1155u;
    QTest::newRow("no association, a last error of another call") << quint64(31) << 193u << 1155u;
    QTest::newRow("association incomplete") << quint64(27) << 0u << 1155u;
    QTest::newRow("file not found") << quint64(2) << 0u << 2u;
    QTest::newRow("path not found") << quint64(3) << 0u << 3u;
    QTest::newRow("access denied") << quint64(5) << 0u << 5u;
    QTest::newRow("out of memory") << quint64(8) << 0u << 8u;
    QTest::newRow("sharing violation") << quint64(26) << 0u << 32u;
    QTest::newRow("DDE timeout") << quint64(28) << 0u << 1156u;
    QTest::newRow("DDE failed") << quint64(29) << 0u << 1156u;
    QTest::newRow("DDE busy") << quint64(30) << 0u << 1156u;
    QTest::newRow("DLL not found") << quint64(32) << 0u << 1157u;
    QTest::newRow("zero: out of resources") << quint64(0) << 0u << 8u;
    QTest::newRow("zero with a last error: never set") << quint64(0) << 87u << 87u;
    QTest::newRow("other value with a last error") << quint64(4) << 87u << 87u;
    QTest::newRow("other value alone") << quint64(4) << 0u << 4u;
    QTest::newRow("above 32: the last error") << quint64(42) << 1156u << 1156u;
    QTest::newRow("a declined prompt stays cancelled") << quint64(5) << 1223u << 1223u;
}

void LauncherCommandLineTest::shellExecuteFailureGivesItsCode()
{
    QFETCH(quint64, instApp);
    QFETCH(uint, lastError);
    QFETCH(uint, code);

    QCOMPARE(ShellExecuteErrorCode(static_cast<std::uintptr_t>(instApp), lastError), code);
}

QTEST_MAIN(LauncherCommandLineTest)
#include "tst_launchercommandline.moc"

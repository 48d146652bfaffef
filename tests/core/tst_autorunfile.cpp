// AutoRun.Inf read as the Windows shell reads it: which files the entries ask for.

#include "AutorunFile.h"

#include <QTest>

using namespace velkaro;

namespace {

// "entry|role|path" for each reference, P program, A argument, I icon.
QStringList Described(const AutorunContent& content)
{
    QStringList lines;
    for (const DiscReference& r : content.references) {
        const char role = r.role == DiscReference::Role::Program    ? 'P'
                          : r.role == DiscReference::Role::Argument ? 'A'
                                                                    : 'I';
        lines.append(r.entry + QLatin1Char('|') + QLatin1Char(role) + QLatin1Char('|') + r.path);
    }
    return lines;
}

} // namespace

class AutorunFileTest : public QObject
{
    Q_OBJECT

private slots:
    void shellRules_data();
    void shellRules();
    void withoutSectionOrStart();
};

void AutorunFileTest::shellRules_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("references");

    QTest::newRow("section and keys in any case, blanks and tabs around =")
        << QByteArray("[AutoRun]\nOPEN\t=  Pirolo.Exe \"A\\b.htm\"  \nIcon=\tx.ico\n")
        << QStringList{"OPEN|P|Pirolo.Exe", "OPEN|A|A\\b.htm", "Icon|I|x.ico"};
    QTest::newRow("blanks around the section name")
        << QByteArray("[ autorun ]\r\nopen=Pirolo.Exe\r\n") << QStringList{"open|P|Pirolo.Exe"};
    QTest::newRow("the first of equal keys counts")
        << QByteArray("[autorun]\r\nopen = Pirolo.Exe \"a\"\r\nOpen = Pirolo.Exe \"b\"\r\n")
        << QStringList{"open|P|Pirolo.Exe", "open|A|a"};
    QTest::newRow("comments and other sections are not read")
        << QByteArray("[other]\r\nopen = x.exe\r\n[autorun]\r\n;open = y.exe\r\n"
                      "open = Pirolo.Exe \"\\\"\r\n[DeviceInstall]\r\nicon = z.ico\r\n")
        << QStringList{"open|P|Pirolo.Exe", "open|A|\\"};
    QTest::newRow("one pair of enclosing quotation marks goes")
        << QByteArray("[autorun]\r\nicon = \"Bilder\\mein icon.ico\"\r\nopen = 'Pirolo.Exe'\r\n")
        << QStringList{"icon|I|Bilder\\mein icon.ico", "open|P|Pirolo.Exe"};
    // The profile reader takes the first and the last mark for one pair.
    QTest::newRow("quoted program and quoted argument lose the outer marks")
        << QByteArray("[autorun]\r\nopen = \"Pirolo.Exe\" \"start\\index.htm\"\r\n")
        << QStringList{"open|P|Pirolo.Exe\""};
    QTest::newRow("icon index")
        << QByteArray("[autorun]\r\nicon = Pirolo.Exe,0\r\nshell\\a\\command = b.exe\r\n"
                      "[autorun]\r\n")
        << QStringList{"icon|I|Pirolo.Exe", "shell\\a\\command|P|b.exe"};
    QTest::newRow("quoted icon with a negative index")
        << QByteArray("[autorun]\r\nicon = \"icons\\a,b.ico\",-3\r\n")
        << QStringList{"icon|I|icons\\a,b.ico"};
    QTest::newRow("the launcher's argument without its closing mark, Windows-1252")
        << QByteArray("[autorun]\r\nopen = Pirolo.Exe \"Gr\xF6\xDF"
                      "e\\a b.txt  \r\n")
        << QStringList{"open|P|Pirolo.Exe", "open|A|Größe\\a b.txt"};
    QTest::newRow("another program: its quoted arguments")
        << QByteArray("[autorun]\r\nopen = setup\\setup.exe /s \"daten\\x y.cab\" /q\r\n")
        << QStringList{"open|P|setup\\setup.exe", "open|A|daten\\x y.cab"};
    QTest::newRow("shellexecute, verbs without command, empty values")
        << QByteArray("[autorun]\r\nshellexecute = start\\index.htm\r\nshell\\0 = &Text\r\n"
                      "shell = 0\r\nicon =\r\nlabel = CD\r\n")
        << QStringList{"shellexecute|P|start\\index.htm"};
}

void AutorunFileTest::shellRules()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, references);
    QCOMPARE(Described(ReadAutorun(file)), references);
}

void AutorunFileTest::withoutSectionOrStart()
{
    const AutorunContent none = ReadAutorun("\xEF\xBB\xBF[autorun]\r\nopen = Pirolo.Exe\r\n");
    QVERIFY(!none.hasSection); // a UTF-8 mark hides the section from Windows
    QVERIFY(none.references.isEmpty());

    const AutorunContent noStart = ReadAutorun("[autorun]\r\nicon = Pirolo.Exe\r\nopen =\r\n");
    QVERIFY(noStart.hasSection);
    QVERIFY(!noStart.hasStart);
}

QTEST_GUILESS_MAIN(AutorunFileTest)
#include "tst_autorunfile.moc"

#include "GetWord.h"
#include "MessageText.h"

#include <QTest>

using namespace velkaro;

class MessageTextTest : public QObject
{
    Q_OBJECT

private slots:
    void expandEscapes_data();
    void expandEscapes();
    void fillPlaceholders_data();
    void fillPlaceholders();
    void formatTextExpandsEscapesInsideArguments();
    void errorText();
    void insertIndentedKeepsBackslashes();
    void trimBlanksOnlyRemovesBlanks();
    void getWord_data();
    void getWord();
};

void MessageTextTest::expandEscapes_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expanded");

    QTest::newRow("line break is CR") << "a\\nb" << QStringLiteral("a\rb");
    QTest::newRow("CR LF pair") << "a\\n\\lb" << QStringLiteral("a\r\nb");
    QTest::newRow("upper-case T alone") << "\\T" << QStringLiteral("\t");
    QTest::newRow("upper-case N and L") << "\\N\\L" << QStringLiteral("\r\n");
    QTest::newRow("quotation mark") << "\\h" << QStringLiteral("\"");
    QTest::newRow("double backslash") << "C:\\\\temp" << QStringLiteral("C:\\temp");
    QTest::newRow("unescaped path") << "C:\\temp" << QStringLiteral("C:\temp");
    QTest::newRow("percent passes") << "50\\%" << QStringLiteral("50%");
    QTest::newRow("final backslash dropped") << "abc\\" << QStringLiteral("abc");
    QTest::newRow("unknown letter passes") << "\\x\\q" << QStringLiteral("xq");
    QTest::newRow("umlaut after backslash") << "\\ü" << QStringLiteral("ü");
    QTest::newRow("empty") << "" << QString();
    QTest::newRow("placeholders untouched") << "%t%\\n%1" << QStringLiteral("%t%\r%1");
}

void MessageTextTest::expandEscapes()
{
    QFETCH(QString, stored);
    QFETCH(QString, expanded);
    QCOMPARE(ExpandEscapes(stored), expanded);
}

void MessageTextTest::fillPlaceholders_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("filled");

    QTest::newRow("three arguments") << "%1/%2/%3" << QStringList{"x", "y", "z"} << "x/y/z";
    QTest::newRow("missing arguments are empty") << "%1/%2/%3" << QStringList{"x"} << "x//";
    QTest::newRow("every occurrence") << "%1-%1-%1" << QStringList{"a"} << "a-a-a";
    QTest::newRow("inserted %2 is filled in the next step")
        << "<%1>" << QStringList{"%2", "b"} << "<b>";
    QTest::newRow("inserted %1 is not filled again") << "%1" << QStringList{"%1"} << "%1";
    QTest::newRow("tenth argument")
        << "%10|%1" << QStringList{"a", "", "", "", "", "", "", "", "", "j"} << "j|a";
    QTest::newRow("tenth marker without argument vanishes") << "%10x" << QStringList{"a"} << "x";
    QTest::newRow("no placeholder") << "100%" << QStringList{"a"} << "100%";
    QTest::newRow("named placeholders stay") << "%t% %y%" << QStringList{"a"} << "%t% %y%";
}

void MessageTextTest::fillPlaceholders()
{
    QFETCH(QString, text);
    QFETCH(QStringList, arguments);
    QFETCH(QString, filled);
    QCOMPARE(FillPlaceholders(text, arguments), filled);
}

void MessageTextTest::formatTextExpandsEscapesInsideArguments()
{
    QCOMPARE(FormatText(QStringLiteral("zu ''%1''\\n"), {QStringLiteral("Velkaro 2005")}),
             QStringLiteral("zu ''Velkaro 2005''\r"));
    // An argument's escape codes are expanded too: paths must not go this way.
    QCOMPARE(FormatText(QStringLiteral("%1"), {QStringLiteral("C:\\neu")}),
             QStringLiteral("C:\reu"));
}

void MessageTextTest::errorText()
{
    QCOMPARE(ErrorText({70, QStringLiteral("Zugriff verweigert")}),
             QStringLiteral("Zugriff verweigert (Code 70)"));
    QCOMPARE(ErrorText({-2147024891, QStringLiteral("Fehler")}),
             QStringLiteral("Fehler (Code -2147024891)"));
    QCOMPARE(ErrorText(Failure::fromCode(FailureCode::PathNotFound)),
             QStringLiteral("Pfad nicht gefunden (Code 76)"));
}

void MessageTextTest::insertIndentedKeepsBackslashes()
{
    const QString stored = ExpandEscapes(QStringLiteral("Datei\\n\\n%f%\\n\\nFehler"));
    QCOMPARE(InsertIndented(stored, QStringLiteral("%f%"), QStringLiteral("C:\\neu\\%f%")),
             QStringLiteral("Datei\r\r    C:\\neu\\%f%\r\rFehler"));
}

void MessageTextTest::trimBlanksOnlyRemovesBlanks()
{
    QCOMPARE(TrimBlanks(QStringLiteral("  Handbuch  ")), QStringLiteral("Handbuch"));
    QCOMPARE(TrimBlanks(QStringLiteral("   ")), QString());
    QCOMPARE(TrimBlanks(QStringLiteral("\tText ")), QStringLiteral("\tText"));
}

void MessageTextTest::getWord_data()
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

void MessageTextTest::getWord()
{
    QFETCH(QString, text);
    QFETCH(int, n);
    QFETCH(QString, delimiter);
    QFETCH(QString, word);
    QCOMPARE(GetWord(text, n, delimiter), word);
}

QTEST_GUILESS_MAIN(MessageTextTest)
#include "tst_messagetext.moc"

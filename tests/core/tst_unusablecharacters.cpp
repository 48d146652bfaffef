#include "UnusableCharacters.h"

#include <QTest>

using namespace velkaro;

class TestUnusableCharacters : public QObject
{
    Q_OBJECT

private slots:
    void findUnusableCharacter_data();
    void findUnusableCharacter();
    void describeCharacter_data();
    void describeCharacter();
};

void TestUnusableCharacters::findUnusableCharacter_data()
{
    QTest::addColumn<QString>("relativePart");
    QTest::addColumn<int>("expected"); // -1: nothing unusable

    QTest::newRow("the root itself") << QString() << -1;
    QTest::newRow("plain name") << QStringLiteral("index.htm") << -1;
    QTest::newRow("folders and blanks")
        << QStringLiteral("Bilder/Urlaub 2005/Strand (1).jpg") << -1;
    QTest::newRow("umlauts and euro") << QStringLiteral("Übersicht €-Preise ß.txt") << -1;
    QTest::newRow("folder target") << QStringLiteral("Bilder/") << -1;
    QTest::newRow("letter with a 1252 byte above 0x80")
        << QStringLiteral("\u0178berblick.txt") << -1;

    QTest::newRow("quotation mark") << QStringLiteral("a\"b.txt") << int('"');
    QTest::newRow("less than") << QStringLiteral("a<b.txt") << int('<');
    QTest::newRow("greater than") << QStringLiteral("a>b.txt") << int('>');
    QTest::newRow("bar") << QStringLiteral("a|b.txt") << int('|');
    QTest::newRow("question mark") << QStringLiteral("Was?.txt") << int('?');
    QTest::newRow("star") << QStringLiteral("*.txt") << int('*');
    QTest::newRow("colon") << QStringLiteral("Teil 1: Anfang.txt") << int(':');
    QTest::newRow("in a folder name") << QStringLiteral("Wer?/index.htm") << int('?');
    QTest::newRow("first of several") << QStringLiteral("a<b?c") << int('<');
#ifndef Q_OS_WIN
    QTest::newRow("backslash in a name") << QStringLiteral("a\\b.txt") << int('\\');
#endif
    QTest::newRow("tab") << QStringLiteral("a\tb.txt") << 0x09;
    QTest::newRow("line feed") << QStringLiteral("a\nb.txt") << 0x0A;
    QTest::newRow("delete") << QStringLiteral("a\u007Fb.txt") << 0x7F;
    QTest::newRow("C1 control without a 1252 byte") << QStringLiteral("a\u0085b") << 0x85;
    QTest::newRow("C1 control 1252 leaves undefined") << QStringLiteral("a\u0081b") << 0x81;
    QTest::newRow("greek") << QStringLiteral("Ωmega.txt") << 0x03A9;
    QTest::newRow("outside the BMP") << QStringLiteral("Bild 😀.png") << 0x1F600;
    QTest::newRow("lone surrogate")
        << (QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b")) << 0xD800;
}

void TestUnusableCharacters::findUnusableCharacter()
{
    QFETCH(QString, relativePart);
    QFETCH(int, expected);
    const std::optional<char32_t> found = FindUnusableCharacter(relativePart);
    if (expected < 0)
        QCOMPARE(found, std::nullopt);
    else
        QCOMPARE(found, std::optional<char32_t>(char32_t(expected)));
}

void TestUnusableCharacters::describeCharacter_data()
{
    QTest::addColumn<int>("codePoint");
    QTest::addColumn<QString>("expected");

    QTest::newRow("question mark") << int('?') << QStringLiteral("„?“ (U+003F)");
    QTest::newRow("greek") << 0x03A9 << QStringLiteral("„Ω“ (U+03A9)");
    QTest::newRow("outside the BMP") << 0x1F600 << QStringLiteral("„😀“ (U+1F600)");
    QTest::newRow("tab is only named") << 0x09 << QStringLiteral("U+0009");
    QTest::newRow("C1 control is only named") << 0x85 << QStringLiteral("U+0085");
    QTest::newRow("lone surrogate is only named") << 0xD800 << QStringLiteral("U+D800");
}

void TestUnusableCharacters::describeCharacter()
{
    QFETCH(int, codePoint);
    QFETCH(QString, expected);
    QCOMPARE(DescribeCharacter(char32_t(codePoint)), expected);
}

QTEST_APPLESS_MAIN(TestUnusableCharacters)
#include "tst_unusablecharacters.moc"

#include "Version.h"

#include <QTest>

using namespace velkaro;

class VersionTest : public QObject
{
    Q_OBJECT

private slots:
    void thisRelease();
    void revisionLetter_data();
    void revisionLetter();
    void otherFormats();
};

void VersionTest::thisRelease()
{
    // The numbers come from the build's project version, not from a copy.
    const ProgramVersion v = CurrentVersion();
    QCOMPARE(v.major, 1);
    QCOMPARE(v.minor, 7);
    QCOMPARE(v.revision, 110);
    QCOMPARE(GetVersionText(256), QStringLiteral(" (V1.7a)"));
}

void VersionTest::revisionLetter_data()
{
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("text");
    QTest::newRow("99: no letter") << 99 << " (V1.7)";
    QTest::newRow("100") << 100 << " (V1.7a)";
    QTest::newRow("149") << 149 << " (V1.7a)";
    QTest::newRow("150: half rounds to even 2") << 150 << " (V1.7b)";
    QTest::newRow("250: half rounds to even 2") << 250 << " (V1.7b)";
    QTest::newRow("251") << 251 << " (V1.7c)";
    QTest::newRow("350: half rounds to even 4") << 350 << " (V1.7d)";
    QTest::newRow("0") << 0 << " (V1.7)";
}

void VersionTest::revisionLetter()
{
    QFETCH(int, revision);
    QFETCH(QString, text);
    QCOMPARE(GetVersionText(256, {1, 7, revision}), text);
}

void VersionTest::otherFormats()
{
    QCOMPARE(GetVersionText(257, {1, 7, 110}), QStringLiteral("1.7a"));
    QCOMPARE(GetVersionText(1, {1, 7, 110}), QStringLiteral("1.07.0110"));
}

QTEST_GUILESS_MAIN(VersionTest)
#include "tst_version.moc"

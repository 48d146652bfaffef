#include "AppSettings.h"
#include "TestEnvironment.h"
#include "WindowPlacement.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <optional>

using namespace velkaro;

// The screen is 800 x 600 pixels, that is 12000 x 9000 twips.
const QSize Screen(800, 600);

class WindowPlacementTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void parseStoredTwips_data();
    void parseStoredTwips();
    void restore_data();
    void restore();
    void centreWindowWiderThanScreen();
    void saveStoresTwipsAsText();
    void unwritableStoreLosesOnlyThePosition();
    void corruptSettingsFile();

private:
    std::optional<test::TestEnvironment> m_test;
    QTemporaryDir m_dir;
    QString m_settingsFile;
};

void WindowPlacementTest::init()
{
    m_test.emplace();
    m_settingsFile = m_test->settingsFile();
}

void WindowPlacementTest::cleanup()
{
    m_test.reset();
}

void WindowPlacementTest::parseStoredTwips_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("twips");

    QTest::newRow("as stored") << "1500" << 1500;
    QTest::newRow("blanks and a line end around") << " 1500\r\n" << 1500;
    QTest::newRow("plus sign, leading zeros") << "+0015" << 15;
    QTest::newRow("negative stays negative") << "-15" << -15;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("blank inside") << "1 500" << -1;
    QTest::newRow("fraction") << "15.5" << -1;
    QTest::newRow("hexadecimal") << "0x10" << -1;
    QTest::newRow("beyond an int") << "99999999999" << -1;
    QTest::newRow("word") << "oben" << -1;
    QTest::newRow("sign alone") << "-" << -1;
    QTest::newRow("NUL and more after the digits")
        << QStringLiteral("1536").append(QChar(0)) + "x" << -1;
    QTest::newRow("digits of another script") << QStringLiteral("\u0661\u0665") << -1;
}

void WindowPlacementTest::parseStoredTwips()
{
    QFETCH(QString, text);
    QFETCH(int, twips);
    QCOMPARE(ParseStoredTwips(text), twips);
}

void WindowPlacementTest::restore_data()
{
    QTest::addColumn<QString>("top");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QPoint>("expected"); // pixels

    const QPoint centred((800 - 200) / 2, (600 - 100) / 2);
    QTest::newRow("nothing stored") << QString() << QString() << centred;
    QTest::newRow("inside") << "1500"
                            << "3000" << QPoint(200, 100);
    QTest::newRow("top equal to screen height") << "9000"
                                                << "0" << centred;
    QTest::newRow("top one twip less") << "8999"
                                       << "0" << QPoint(0, 8999 / 15);
    QTest::newRow("negative top") << "-15"
                                  << "30" << centred;
    QTest::newRow("negative left") << "30"
                                   << "-1" << centred;
    QTest::newRow("left beyond the width") << "30"
                                           << "12000" << centred;
    QTest::newRow("not a number") << "oben"
                                  << "30" << centred;
    QTest::newRow("digits then a NUL character")
        << QStringLiteral("1500").append(QChar(0)) << "30" << centred;
    QTest::newRow("fraction is not whole") << "15.5"
                                           << "30" << centred;
    QTest::newRow("zero corner") << "0"
                                 << "0" << QPoint(0, 0);
}

void WindowPlacementTest::restore()
{
    QFETCH(QString, top);
    QFETCH(QString, left);
    QFETCH(QPoint, expected);
    if (!top.isNull()) {
        QVERIFY(SaveAppSetting(m_test->settings(), "_Top", top));
        QVERIFY(SaveAppSetting(m_test->settings(), "_Left", left));
    }
    QWidget window;
    window.resize(200, 100);
    RestoreFormPosition(&window, m_test->settings(), Screen);
    QCOMPARE(window.pos(), expected);
}

void WindowPlacementTest::centreWindowWiderThanScreen()
{
    QWidget window;
    window.resize(810, 100);
    CenterFormOnScreen(&window, Screen);
    QCOMPARE(window.pos(), QPoint(-5, 250));
}

void WindowPlacementTest::saveStoresTwipsAsText()
{
    QWidget window;
    window.resize(200, 100);
    window.move(33, 44);
    SaveFormPosition(&window, m_test->settings());
    QSettings raw(m_settingsFile, QSettings::IniFormat);
    QCOMPARE(raw.value("Velkaro 2005/_Top").toString(), QStringLiteral("660"));
    QCOMPARE(raw.value("Velkaro 2005/_Left").toString(), QStringLiteral("495"));
    QCOMPARE(GetAppSetting(m_test->settings(), "_Top", "-1"), QStringLiteral("660"));
    QCOMPARE(GetAppSetting(m_test->settings(), "_Missing", "-1"), QStringLiteral("-1"));
}

void WindowPlacementTest::unwritableStoreLosesOnlyThePosition()
{
    // The settings file would lie below a file: it cannot be written.
    QFile blocker(m_dir.filePath("blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString unwritable = m_dir.filePath("blocker/settings.ini");
    QVERIFY(!SaveAppSetting(*test::TestEnvironment::OpenSettingsFile(unwritable), "_Top", 15));
    QWidget window;
    window.resize(200, 100);
    SaveFormPosition(&window, *test::TestEnvironment::OpenSettingsFile(unwritable));
    RestoreFormPosition(&window, *test::TestEnvironment::OpenSettingsFile(unwritable), Screen);
    QCOMPARE(window.pos(), QPoint(300, 250));
}

void WindowPlacementTest::corruptSettingsFile()
{
    // A settings file that someone else wrote: a NUL after the digits, a
    // line without "=", and a stored list that claims 838 million items,
    // which Qt tries to allocate room for when it reads the file.
    QFile file(m_settingsFile);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Velkaro%202005]\n_Top=1500\\0\n_Top\xff"
               "99\n"
               "_Left=@Variant(\\0\\0\\0\\t2\\0\\0\\x1)\n");
    file.close();

    const std::unique_ptr<QSettings> store =
        test::TestEnvironment::OpenSettingsFile(m_settingsFile);
    QWidget window;
    window.resize(200, 100);
    RestoreFormPosition(&window, *store, Screen);
    QCOMPARE(window.pos(), QPoint(300, 250));

    // The next close stores the position over it, and it is used again.
    window.move(30, 40);
    SaveFormPosition(&window, *store);
    window.move(0, 0);
    RestoreFormPosition(&window, *store, Screen);
    QCOMPARE(window.pos(), QPoint(30, 40));
}

QTEST_MAIN(WindowPlacementTest)
#include "tst_windowplacement.moc"

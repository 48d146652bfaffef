#include "MessageBox.h"
#include "ProgressBarForm.h"
#include "ProgressbarModule.h"
#include "StepRecorder.h"
#include "SystemCheck.h"
#include "TestEnvironment.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <optional>

using namespace velkaro;

Q_DECLARE_METATYPE(std::optional<quint32>)

namespace {

const QString UserKey = QStringLiteral(
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer");
const QString MachineKey = QStringLiteral(
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer");

int ProgressWindowCount()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return int(std::count_if(windows.begin(), windows.end(), [](QWidget* w) {
        return qobject_cast<ProgressBarForm*>(w) != nullptr;
    }));
}

} // namespace

class TestSystemCheck : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_test.emplace();
        m_steps = {};
        m_policy = {};
    }

    void cleanup() { m_test.reset(); }

    void playsTheScriptThenReportsSuccess()
    {
        QVERIFY(Run());

        const QList<int> values{0, 13, 33, 68, 77, 90, 100};
        const QList<int> delays{300, 100, 400, 2000, 500, 100, 500};
        QCOMPARE(m_steps.seen.size(), 7);
        int total = 0;
        for (int i = 0; i < 7; ++i) {
            QCOMPARE(m_steps.seen.at(i).barValue, values.at(i));
            QCOMPARE(m_steps.seen.at(i).step.delayMs, delays.at(i));
            QCOMPARE(m_steps.seen.at(i).caption, QStringLiteral("Velkaro 2005 - System-Check"));
            total += m_steps.seen.at(i).step.delayMs;
        }
        QCOMPARE(total, 3900);

        const QList<ShownMessage> shown = m_test->messages().takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.at(0).text, QStringLiteral("Alle Einstellungen sind korrekt ..."));
        QCOMPARE(shown.at(0).icon, MessageIcon::Information);
        QCOMPARE(shown.at(0).buttons, MessageButtons::Ok);
    }

    // With a real (offscreen) message box: when it appears, the progress
    // window must already be gone.
    void progressWindowIsGoneBeforeTheMessage()
    {
        MessageBox realBox;
        int windowsWhileMessage = -1;
        int windowsDuringPlay = 0;
        QString messageText;
        m_steps.onStep = [&](ProgressBarForm&) {
            windowsDuringPlay = std::max(windowsDuringPlay, ProgressWindowCount());
        };

        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll.stop();
            windowsWhileMessage = ProgressWindowCount();
            messageText = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        poll.start();
        QVERIFY(Run());

        QCOMPARE(windowsDuringPlay, 1);
        QCOMPARE(windowsWhileMessage, 0);
        QCOMPARE(messageText, QStringLiteral("Alle Einstellungen sind korrekt ..."));
    }

    void secondClickWhilePlayingDoesNothing()
    {
        bool secondStarted = true;
        int windowsAtSecondClick = 0;
        m_steps.onStep = [&](ProgressBarForm&) {
            if (m_steps.seen.size() != 1)
                return;
            secondStarted = Run();
            windowsAtSecondClick = ProgressWindowCount();
        };
        QVERIFY(Run());
        QVERIFY(!secondStarted);
        QCOMPARE(windowsAtSecondClick, 1);
        QCOMPARE(m_steps.seen.size(), 7);
        QCOMPARE(m_test->messages().takeShown().size(), 1);

        // Once the first check has ended, the command works again.
        m_steps = {};
        QVERIFY(Run());
        QCOMPARE(m_steps.seen.size(), 7);
        QCOMPARE(m_test->messages().takeShown().size(), 1);
    }

    void policyDecision_data()
    {
        using V = std::optional<quint32>;
        QTest::addColumn<V>("userDriveTypes");
        QTest::addColumn<V>("machineDriveTypes");
        QTest::addColumn<V>("userNoAutorun");
        QTest::addColumn<V>("machineNoAutorun");
        QTest::addColumn<QStringList>("blocks"); // "name@key" in the order reported

        const V none;
        const QString ndta = QStringLiteral("NoDriveTypeAutoRun@");
        const QString na = QStringLiteral("NoAutorun@");
        QTest::newRow("nothing set") << none << none << none << none << QStringList{};
        QTest::newRow("usual default 0x91 spares CDs")
            << V(0x91) << none << none << none << QStringList{};
        QTest::newRow("all but CD-ROM") << none << V(0xFFFFFFDF) << none << none << QStringList{};
        QTest::newRow("user excludes CD-ROM")
            << V(0xB5) << none << none << none << QStringList{ndta + UserKey};
        QTest::newRow("CD-ROM bit alone")
            << V(0x20) << none << none << none << QStringList{ndta + UserKey};
        QTest::newRow("machine excludes every drive")
            << none << V(0xFF) << none << none << QStringList{ndta + MachineKey};
        QTest::newRow("machine allows, user would not")
            << V(0xFF) << V(0x91) << none << none << QStringList{};
        QTest::newRow("machine forbids, user would allow")
            << V(0x91) << V(0x20) << none << none << QStringList{ndta + MachineKey};
        QTest::newRow("user NoAutorun 1")
            << none << none << V(1) << none << QStringList{na + UserKey};
        QTest::newRow("NoAutorun 0") << none << none << V(0) << V(0) << QStringList{};
        QTest::newRow("NoAutorun other than 1") << none << none << V(2) << none << QStringList{};
        QTest::newRow("machine NoAutorun 0 wins") << none << none << V(1) << V(0) << QStringList{};
        QTest::newRow("both switch it off")
            << V(0xFF) << none << none << V(1) << QStringList{na + MachineKey, ndta + UserKey};
    }

    void policyDecision()
    {
        QFETCH(std::optional<quint32>, userDriveTypes);
        QFETCH(std::optional<quint32>, machineDriveTypes);
        QFETCH(std::optional<quint32>, userNoAutorun);
        QFETCH(std::optional<quint32>, machineNoAutorun);
        QFETCH(QStringList, blocks);

        const AutoRunPolicy policy{{userDriveTypes, machineDriveTypes},
                                   {userNoAutorun, machineNoAutorun}};
        QStringList found;
        for (const AutoRunBlock& block : CdAutoRunBlocks(policy))
            found.append(block.valueName + QLatin1Char('@') + block.keyPath);
        QCOMPARE(found, blocks);

        const SystemCheckResult result = SystemCheckMessage(policy);
        QCOMPARE(result.problem, !blocks.isEmpty());
        if (blocks.isEmpty())
            QCOMPARE(result.text, QStringLiteral("Alle Einstellungen sind korrekt ..."));
    }

    void switchedOffIsReportedAsAnError()
    {
        m_policy.noDriveTypeAutoRun.machine = 0xFF;
        QVERIFY(Run());
        QCOMPARE(m_steps.seen.size(), 7);

        const QList<ShownMessage> shown = m_test->messages().takeShown();
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.at(0).icon, MessageIcon::Error);
        QCOMPARE(shown.at(0).buttons, MessageButtons::Ok);
        const QString cr(QChar(13));
        QCOMPARE(shown.at(0).text,
                 QStringLiteral("Der Autostart von CDs ist auf diesem Computer abgeschaltet:") +
                     cr + cr +
                     QStringLiteral("    NoDriveTypeAutoRun = 0x000000FF (kein Autostart für "
                                    "CD-Laufwerke)") +
                     cr + QStringLiteral("    unter ") + MachineKey + cr + cr +
                     QStringLiteral("Mit Velkaro erstellte CDs starten auf diesem Computer "
                                    "deshalb nicht von selbst. Auf anderen Computern können sie "
                                    "trotzdem starten."));
    }

    // The same reading serves the registry on Windows and files here.
    void readsPolicyValuesFromAStore()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        {
            QSettings user(folder.filePath(QStringLiteral("user.ini")), QSettings::IniFormat);
            user.setValue(QStringLiteral("NoDriveTypeAutoRun"), QStringLiteral("0xB5"));
            user.setValue(QStringLiteral("NoAutorun"), QStringLiteral("kaputt"));
            QSettings machine(folder.filePath(QStringLiteral("machine.ini")), QSettings::IniFormat);
            // Old set-ups keep the mask as four little-endian bytes.
            machine.setValue(QStringLiteral("NoDriveTypeAutoRun"), QByteArray::fromHex("95000000"));
            machine.setValue(QStringLiteral("NoAutorun"), 1);
        }
        const QSettings user(folder.filePath(QStringLiteral("user.ini")), QSettings::IniFormat);
        const QSettings machine(folder.filePath(QStringLiteral("machine.ini")),
                                QSettings::IniFormat);
        const AutoRunPolicy policy = ReadAutoRunPolicy(user, machine);
        QCOMPARE(policy.noDriveTypeAutoRun.user, std::optional<quint32>(0xB5));
        QCOMPARE(policy.noDriveTypeAutoRun.machine, std::optional<quint32>(0x95));
        QCOMPARE(policy.noAutorun.user, std::nullopt);
        QCOMPARE(policy.noAutorun.machine, std::optional<quint32>(1));

        const QSettings empty(folder.filePath(QStringLiteral("none.ini")), QSettings::IniFormat);
        const AutoRunPolicy nothing = ReadAutoRunPolicy(empty, empty);
        QVERIFY(CdAutoRunBlocks(nothing).isEmpty());
        QCOMPARE(nothing.noDriveTypeAutoRun.user, std::nullopt);
    }

private:
    // Whatever the machine's policies say, these tests decide.
    bool Run()
    {
        return RunSystemCheck(m_steps, [this] { return m_policy; });
    }

    std::optional<test::TestEnvironment> m_test;
    test::StepRecorder m_steps;
    AutoRunPolicy m_policy;
};

QTEST_MAIN(TestSystemCheck)
#include "tst_systemcheck.moc"

#include "ProgressBarForm.h"
#include "ProgressbarModule.h"
#include "StepRecorder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <limits>

using namespace velkaro;
using velkaro::test::StepRecorder;

namespace {

// Counts how often a progress window was shown and hidden, also for a play
// without steps.
class ShowWatcher : public QObject
{
public:
    ShowWatcher() { qApp->installEventFilter(this); }
    ~ShowWatcher() override { qApp->removeEventFilter(this); }

    int shown = 0;
    int hidden = 0;
    QStringList captions;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (auto* form = qobject_cast<ProgressBarForm*>(watched)) {
            if (event->type() == QEvent::Show) {
                ++shown;
                captions.append(form->windowTitle());
            } else if (event->type() == QEvent::Hide) {
                ++hidden;
            }
        }
        return false;
    }
};

} // namespace

namespace velkaro {
// Readable failures for lists of steps.
char* toString(const ProgressStep& step)
{
    return QTest::toString(QStringLiteral("%1%/%2ms").arg(step.value).arg(step.delayMs));
}
} // namespace velkaro

namespace {

QList<ProgressStep> Steps(std::initializer_list<std::pair<float, int>> pairs)
{
    QList<ProgressStep> steps;
    for (const auto& [value, delay] : pairs)
        steps.append({value, delay});
    return steps;
}

bool NoProgressWindowLeft()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::none_of(windows.begin(), windows.end(),
                        [](QWidget* w) { return qobject_cast<ProgressBarForm*>(w) != nullptr; });
}

} // namespace

class TestProgressPlayer : public QObject
{
    Q_OBJECT

private slots:
    void readScriptNumber_data()
    {
        QTest::addColumn<QString>("element");
        QTest::addColumn<double>("number");
        QTest::newRow("whole number") << "300" << 300.0;
        QTest::newRow("blanks anywhere are ignored") << " 3 0 0 " << 300.0;
        QTest::newRow("tab before") << "\t42" << 42.0;
        QTest::newRow("decimal point") << "12.5" << 12.5;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("second point ends the number") << "1.5.3" << 1.5;
        QTest::newRow("letters end the number") << "12abc" << 12.0;
        QTest::newRow("comma is no decimal point") << "12;5" << 12.0;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("point alone") << "." << 0.0;
        QTest::newRow("sign") << "-5" << -5.0;
        QTest::newRow("plus sign") << "+7" << 7.0;
        QTest::newRow("sign inside ends the number") << "5-3" << 5.0;
        QTest::newRow("hex is not read") << "0x10" << 0.0;
        QTest::newRow("too large for a double")
            << QString(400, QLatin1Char('9')) << std::numeric_limits<double>::infinity();
        QTest::newRow("too small for a double")
            << QString(QStringLiteral("0.") + QString(400, QLatin1Char('0')) + QLatin1Char('1'))
            << 0.0;
    }

    void readScriptNumber()
    {
        QFETCH(QString, element);
        QFETCH(double, number);
        QCOMPARE(ReadScriptNumber(element), number);
    }

    void readScriptNumberIgnoresTheUsersLocale()
    {
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const double number = ReadScriptNumber(QStringLiteral("2.5"));
        QLocale::setDefault(saved);
        QCOMPARE(number, 2.5);
    }

    void roundHalfEven_data()
    {
        QTest::addColumn<double>("number");
        QTest::addColumn<qint64>("rounded");
        QTest::newRow("0.5 to 0") << 0.5 << qint64(0);
        QTest::newRow("1.5 to 2") << 1.5 << qint64(2);
        QTest::newRow("2.5 to 2") << 2.5 << qint64(2);
        QTest::newRow("100.5 to 100") << 100.5 << qint64(100);
        QTest::newRow("101.5 to 102") << 101.5 << qint64(102);
        QTest::newRow("below half") << 2.4999 << qint64(2);
        QTest::newRow("above half") << 2.5001 << qint64(3);
        QTest::newRow("-1.5 to -2") << -1.5 << qint64(-2);
        QTest::newRow("-2.5 to -2") << -2.5 << qint64(-2);
        const qint64 top = std::numeric_limits<qint64>::max();
        const qint64 bottom = std::numeric_limits<qint64>::min();
        QTest::newRow("infinity held at the top") << HUGE_VAL << top;
        QTest::newRow("1e300 held at the top") << 1e300 << top;
        QTest::newRow("2^63 held at the top") << 9223372036854775808.0 << top;
        QTest::newRow("-2^63 is the bottom itself") << -9223372036854775808.0 << bottom;
        QTest::newRow("minus infinity held at the bottom") << -HUGE_VAL << bottom;
        QTest::newRow("not a number gives 0") << std::nan("") << qint64(0);
    }

    void roundHalfEven()
    {
        QFETCH(double, number);
        QFETCH(qint64, rounded);
        QCOMPARE(RoundHalfEven(number), rounded);
    }

    void readProgressScript_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QList<ProgressStep>>("steps");
        QTest::newRow("System-Check")
            << "0,300,13,100,33,400,68,2000,77,500,90,100,100,500"
            << Steps(
                   {{0, 300}, {13, 100}, {33, 400}, {68, 2000}, {77, 500}, {90, 100}, {100, 500}});
        QTest::newRow("odd element left over") << "50,200,70" << Steps({{50, 200}});
        QTest::newRow("single element") << "50" << Steps({});
        QTest::newRow("empty script") << "" << Steps({});
        QTest::newRow("fractions, delay half to even")
            << "12.5,100.5,7.25,101.5" << Steps({{12.5f, 100}, {7.25f, 102}});
        QTest::newRow("empty elements read 0") << "1,,2,3" << Steps({{1, 0}, {2, 3}});
        QTest::newRow("blanks around elements") << " 40 , 1 000 " << Steps({{40, 1000}});
        QTest::newRow("delay below 0 held at 0") << "50,-10" << Steps({{50, 0}});
        QTest::newRow("delay above 65535 held there") << "50,70000" << Steps({{50, 65535}});
        QTest::newRow("huge delay")
            << QString(QStringLiteral("50,") + QString(400, QLatin1Char('9')))
            << Steps({{50, 65535}});
    }

    void readProgressScript()
    {
        QFETCH(QString, script);
        QFETCH(QList<ProgressStep>, steps);
        QCOMPARE(ReadProgressScript(script), steps);
    }

    void playShowsEveryStepInOrder()
    {
        StepRecorder recorder;
        PlayProgressScript(QStringLiteral("0,300,13,100,33,400,68,2000,77,500,90,100,100,500"),
                           QStringLiteral("System-Check"), recorder);

        const QList<int> values{0, 13, 33, 68, 77, 90, 100};
        const QList<int> delays{300, 100, 400, 2000, 500, 100, 500};
        QCOMPARE(recorder.seen.size(), values.size());
        for (int i = 0; i < values.size(); ++i) {
            const StepRecorder::Seen& seen = recorder.seen.at(i);
            QCOMPARE(seen.barValue, values.at(i));
            QCOMPARE(seen.step.delayMs, delays.at(i));
            QCOMPARE(seen.caption, QStringLiteral("Velkaro 2005 - System-Check"));
            QVERIFY(seen.visible);
            QVERIFY(!seen.modal);
        }
        // One window for the whole script, destroyed when it ends.
        QVERIFY(recorder.forms.first() == recorder.forms.last());
        QVERIFY(recorder.forms.first().isNull());
        QVERIFY(NoProgressWindowLeft());
    }

    void windowLayout()
    {
        StepRecorder recorder;
        QSize client;
        QRect bar;
        QString label;
        int minimum = -1, maximum = -1;
        recorder.onStep = [&](ProgressBarForm& form) {
            client = form.size();
            bar = form.PBar->geometry();
            minimum = form.PBar->minimum();
            maximum = form.PBar->maximum();
            label = form.findChild<QWidget*>(QStringLiteral("Label1"))->property("text").toString();
        };
        PlayProgressScript(QStringLiteral("5,1"), QString(), recorder);
        QCOMPARE(client, QSize(410, 63));
        QCOMPARE(bar, QRect(8, 8, 393, 29));
        QCOMPARE(minimum, 0);
        QCOMPARE(maximum, 100);
        QCOMPARE(label, QStringLiteral("Bitte warten ..."));
    }

    void scriptsWithoutFullPairs_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QList<int>>("values");
        QTest::addColumn<QString>("caption");
        QTest::newRow("odd length") << "50,200,70"
                                    << "Test" << QList<int>{50} << "Velkaro 2005 - Test";
        QTest::newRow("empty script") << ""
                                      << "Test" << QList<int>{} << "Velkaro 2005 - Test";
        QTest::newRow("empty title") << "20,5"
                                     << "" << QList<int>{20} << "Velkaro 2005";
    }

    void scriptsWithoutFullPairs()
    {
        QFETCH(QString, script);
        QFETCH(QString, title);
        QFETCH(QList<int>, values);
        QFETCH(QString, caption);

        StepRecorder recorder;
        ShowWatcher watcher;
        PlayProgressScript(script, title, recorder);

        QList<int> seenValues;
        for (const StepRecorder::Seen& seen : recorder.seen)
            seenValues.append(seen.barValue);
        QCOMPARE(seenValues, values);
        // Even without a step the window appears once and goes again.
        QCOMPARE(watcher.shown, 1);
        QCOMPARE(watcher.captions, QStringList{caption});
        QVERIFY(NoProgressWindowLeft());
    }

    void valuesOutsideTheBarAreHeldAtItsEnds()
    {
        StepRecorder recorder;
        PlayProgressScript(QStringLiteral("50,1,150,1,-5,1,33.5,1"), QString(), recorder);
        QCOMPARE(recorder.seen.size(), 4);
        QCOMPARE(recorder.seen.at(1).barValue, 100);
        QCOMPARE(recorder.seen.at(2).barValue, 0);
        QCOMPARE(recorder.seen.at(3).barValue, 34); // 33.5 to the even 34
        QCOMPARE(recorder.seen.at(3).step.value, 33.5f);
    }

    void secondRunCreatesAFreshWindow()
    {
        StepRecorder recorder;
        PlayProgressScript(QStringLiteral("10,1,20,1"), QStringLiteral("eins"), recorder);
        PlayProgressScript(QStringLiteral("70,1"), QStringLiteral("zwei"), recorder);
        QCOMPARE(recorder.seen.size(), 3);
        QCOMPARE(recorder.seen.at(2).barValue, 70);
        QCOMPARE(recorder.seen.at(2).caption, QStringLiteral("Velkaro 2005 - zwei"));
        QVERIFY(recorder.forms.at(0).isNull());
        QVERIFY(recorder.forms.at(2).isNull());
    }

    void userCannotCloseThePlayingWindow()
    {
        StepRecorder recorder;
        bool closed = true;
        bool stillVisible = false;
        recorder.onStep = [&](ProgressBarForm& form) {
            closed = form.close();
            stillVisible = form.isVisible();
        };
        PlayProgressScript(QStringLiteral("10,1"), QString(), recorder);
        QVERIFY(!closed);
        QVERIFY(stillVisible);
        QVERIFY(NoProgressWindowLeft());
    }

    // The real wait: it lasts the delays and keeps the event loop running.
    void realWaitSleepsInTheEventLoop()
    {
        bool visibleMeanwhile = false;
        int eventsDuringPlay = 0;
        QTimer ticker;
        ticker.setInterval(10);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            ++eventsDuringPlay;
            const QWidgetList windows = QApplication::topLevelWidgets();
            for (QWidget* w : windows) {
                if (qobject_cast<ProgressBarForm*>(w) && w->isVisible())
                    visibleMeanwhile = true;
            }
        });
        ticker.start();

        QElapsedTimer clock;
        clock.start();
        TimedWait wait;
        PlayProgressScript(QStringLiteral("10,60,20,60"), QString(), wait);
        const qint64 elapsed = clock.elapsed();
        ticker.stop();

        QVERIFY2(elapsed >= 115, qPrintable(QString::number(elapsed)));
        QVERIFY(eventsDuringPlay >= 3);
        QVERIFY(visibleMeanwhile);
        QVERIFY(NoProgressWindowLeft());
    }
};

QTEST_MAIN(TestProgressPlayer)
#include "tst_progressplayer.moc"

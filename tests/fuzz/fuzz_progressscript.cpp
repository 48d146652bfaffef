// The progress player reads a script of "value,delay" pairs. The program's
// own script is a constant, but the reader must survive any text: numbers
// too large for a double, signs, points, blanks, letters, empty elements.
//
// Input: the script as UTF-8.

#include "FuzzSupport.h"
#include "ProgressBarForm.h"
#include "ProgressbarModule.h"
#include "StepRecorder.h"

#include <QProgressBar>
#include <QStringList>
#include <cmath>
#include <cstring>
#include <limits>

using namespace velkaro;
using namespace velkaro::fuzzing;

namespace {

// The rounding promise for every number a script can hold: the nearest whole
// number, halves to the even one, held at the ends of the range.
void CheckRounding(double number)
{
    const qint64 rounded = RoundHalfEven(number);
    if (std::isnan(number)) {
        FUZZ_CHECK(rounded == 0);
        return;
    }
    constexpr double Limit = 9.2e18; // safely inside qint64, beyond it is held
    if (number >= Limit) {
        FUZZ_CHECK(rounded >= qint64(Limit));
        return;
    }
    if (number <= -Limit) {
        FUZZ_CHECK(rounded <= -qint64(Limit));
        return;
    }
    const double distance = std::fabs(double(rounded) - number);
    FUZZ_CHECK_MSG(distance <= 0.5, QByteArray::number(number, 'g', 17));
    if (distance == 0.5)
        FUZZ_CHECK_MSG(rounded % 2 == 0, QByteArray::number(number, 'g', 17));
}

void CheckNumber(const QString& element)
{
    const double number = ReadScriptNumber(element);
    FUZZ_CHECK_MSG(!std::isnan(number), Shown(element));
    // An element without any digit reads as 0, whatever else it holds.
    bool digit = false;
    for (const QChar c : element)
        digit = digit || (c.unicode() >= '0' && c.unicode() <= '9');
    if (!digit)
        FUZZ_CHECK_MSG(number == 0, Shown(element));
    CheckRounding(number);
}

// Plays the steps without waiting and checks what the bar shows.
void CheckPlay(const QString& script, const QList<ProgressStep>& steps)
{
    EnsureApplication();
    const qsizetype windowsBefore = QApplication::topLevelWidgets().size();
    test::StepRecorder recorder;
    PlayProgressScript(script, QString(), recorder);
    // Let Qt finish with the closed window now, not during the next input.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    FUZZ_CHECK(recorder.seen.size() == steps.size());
    for (qsizetype i = 0; i < recorder.seen.size(); ++i) {
        const ProgressStep& step = recorder.seen.at(i).step;
        FUZZ_CHECK(step == steps.at(i));
        const int shown = recorder.seen.at(i).barValue;
        FUZZ_CHECK_MSG(shown >= 0 && shown <= 100, Shown(script));
        // A value inside the bar shows as itself, rounded.
        if (step.value >= 0 && step.value <= 100)
            FUZZ_CHECK_MSG(std::fabs(shown - step.value) <= 0.5f, Shown(script));
    }
    FUZZ_CHECK(QApplication::topLevelWidgets().size() == windowsBefore);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString script = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QStringList elements = script.split(QLatin1Char(','));
    for (const QString& element : elements)
        CheckNumber(element);

    const QList<ProgressStep> steps = ReadProgressScript(script);
    FUZZ_CHECK(steps.size() == elements.size() / 2);
    for (const ProgressStep& step : steps) {
        FUZZ_CHECK_MSG(step.delayMs >= 0 && step.delayMs <= 65535, Shown(script));
        FUZZ_CHECK_MSG(!std::isnan(step.value), Shown(script));
    }

    // Showing a window costs far more than reading; a few steps tell enough.
    if (steps.size() <= 8)
        CheckPlay(script, steps);

    // Doubles that no text reads as, straight from the bytes.
    for (size_t i = 0; i + sizeof(double) <= size; i += sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data + i, sizeof raw);
        CheckRounding(raw);
    }
    return 0;
}

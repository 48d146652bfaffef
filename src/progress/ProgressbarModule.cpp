#include "ProgressbarModule.h"

#include "ProgressBarForm.h"
#include "Titles.h"

#include <QByteArray>
#include <QEventLoop>
#include <QProgressBar>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

namespace velkaro {

namespace {

// The bar's range and the delays a one-shot timer takes.
constexpr int MaxDelayMs = 65535;

} // namespace

// Sleeps in a local event loop until the form's one-shot timer has fired.
void TimedWait::wait(ProgressBarForm& form, const ProgressStep& step)
{
    QEventLoop loop;
    QObject::connect(&form, &ProgressBarForm::monoFlopExpired, &loop, &QEventLoop::quit);
    form.MonoFlop->setInterval(step.delayMs);
    form.MonoFlop->start();
    loop.exec();
}

double ReadScriptNumber(const QString& element)
{
    // Collect the longest prefix that reads as a number, then convert it in
    // the C locale, not the user's, so that "." is the decimal point.
    QByteArray number;
    bool digits = false;
    bool point = false;
    for (const QChar c : element) {
        if (c == QLatin1Char(' ') || c == QLatin1Char('\t'))
            continue;
        if ((c == QLatin1Char('+') || c == QLatin1Char('-')) && number.isEmpty()) {
            number.append(char(c.unicode()));
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
            number.append('.');
        } else if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digits = true;
            number.append(char(c.unicode()));
        } else {
            break;
        }
    }
    if (!digits)
        return 0;
    bool ok = false;
    const double value = number.toDouble(&ok); // C locale, whatever the user's
    if (ok)
        return value;
    // Only a number too large or too small for a double fails here.
    const qsizetype wholeEnd = point ? number.indexOf('.') : number.size();
    const bool large = std::any_of(number.cbegin(), number.cbegin() + wholeEnd,
                                   [](char c) { return c >= '1' && c <= '9'; });
    if (!large)
        return 0;
    return number.startsWith('-') ? -HUGE_VAL : HUGE_VAL;
}

qint64 RoundHalfEven(double number)
{
    // Converting a double beyond qint64 is undefined: hold it at the ends.
    constexpr double TwoTo63 = 9223372036854775808.0;
    if (std::isnan(number))
        return 0;
    if (number >= TwoTo63)
        return std::numeric_limits<qint64>::max();
    if (number < -TwoTo63)
        return std::numeric_limits<qint64>::min();
    const double lower = std::floor(number);
    const double rest = number - lower;
    double rounded = lower;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(lower, 2.0) != 0))
        rounded = lower + 1;
    return static_cast<qint64>(rounded);
}

QList<ProgressStep> ReadProgressScript(const QString& script)
{
    const QStringList elements = script.split(QLatin1Char(','));
    QList<ProgressStep> steps;
    for (qsizetype i = 0; i + 1 < elements.size(); i += 2) {
        const double delay =
            std::clamp(ReadScriptNumber(elements.at(i + 1)), 0.0, double(MaxDelayMs));
        steps.append({static_cast<float>(ReadScriptNumber(elements.at(i))),
                      static_cast<int>(RoundHalfEven(delay))});
    }
    return steps;
}

void PlayProgressScript(const QString& script, const QString& title, ProgressWait& wait)
{
    const QList<ProgressStep> steps = ReadProgressScript(script);

    auto form = std::make_unique<ProgressBarForm>();
    form->setWindowTitle(title.isEmpty() ? ProductTitle()
                                         : ProductTitle() + QStringLiteral(" - ") + title);
    form->setPlaying(true);
    form->show();

    for (const ProgressStep& step : steps) {
        // The bar takes whole percent; a value outside 0..100 would be ignored
        // and leave the last one standing, so it is held at the nearer end.
        const double value = std::clamp(double(step.value), 0.0, 100.0);
        form->PBar->setValue(static_cast<int>(RoundHalfEven(value)));
        wait.wait(*form, step);
    }

    form->setPlaying(false);
    form->close();
}

} // namespace velkaro

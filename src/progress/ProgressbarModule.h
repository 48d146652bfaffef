#pragma once

#include <QList>
#include <QString>

namespace velkaro {

class ProgressBarForm;

// One step of a progress script: the bar shows value (percent) for delayMs.
struct ProgressStep
{
    float value = 0;
    int delayMs = 0;

    bool operator==(const ProgressStep&) const = default;
};

// Reads one element of a script as a number: blanks are ignored, "." is the
// decimal point, a leading sign is allowed, and reading stops at the first
// character that cannot continue the number. No number at all reads as 0.
double ReadScriptNumber(const QString& element);

// Rounds to the nearest whole number, halves to the even neighbour. A number
// beyond qint64 is held at its nearer end; not a number gives 0.
qint64 RoundHalfEven(double number);

// The steps of a script "value,delay,value,delay,...": elements are taken in
// pairs from the start, an element without a partner is left over.
QList<ProgressStep> ReadProgressScript(const QString& script);

// How the time of one step passes, with the window already showing the
// step's value.
class ProgressWait
{
public:
    virtual ~ProgressWait() = default;
    virtual void wait(ProgressBarForm& form, const ProgressStep& step) = 0;
};

// The step's delay on the window's one-shot timer, in a local event loop, so
// that the rest of the program stays usable meanwhile.
class TimedWait final : public ProgressWait
{
public:
    void wait(ProgressBarForm& form, const ProgressStep& step) override;
};

// Shows the progress window (caption: product title, plus " - " and the title
// when there is one), plays every step and closes the window again. Returns
// only when the last step's wait has passed and the window is gone.
void PlayProgressScript(const QString& script, const QString& title, ProgressWait& wait);

} // namespace velkaro

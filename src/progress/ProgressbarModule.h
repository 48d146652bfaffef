#pragma once

#include <QList>
#include <QString>
#include <functional>

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

// Shows the progress window (caption: product title, plus " - " and the title
// when there is one), plays every step and closes the window again. Returns
// only when the last delay has passed and the window is gone. While it waits
// the event loop runs, so the rest of the program stays usable.
void PlayProgressScript(const QString& script, const QString& title);

// Tests replace the timed wait of each step: the hook is called with the
// window, already showing the step's value, and the step. An empty function
// restores the real wait.
using ProgressWaitHook = std::function<void(ProgressBarForm& form, const ProgressStep& step)>;
void SetProgressWaitForTesting(ProgressWaitHook hook);

} // namespace velkaro

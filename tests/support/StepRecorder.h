#pragma once

#include "ProgressBarForm.h"
#include "ProgressbarModule.h"

#include <QApplication>
#include <QPointer>
#include <QProgressBar>
#include <functional>

namespace velkaro::test {

// A progress wait that lets no time pass: it notes what the window shows at
// each step, then runs onStep, when set, while the window stands.
class StepRecorder final : public ProgressWait
{
public:
    struct Seen
    {
        ProgressStep step;
        int barValue = -1;
        QString caption;
        bool visible = false;
        bool modal = true;
    };

    void wait(ProgressBarForm& form, const ProgressStep& step) override
    {
        seen.append({step, form.PBar->value(), form.windowTitle(), form.isVisible(),
                     form.isModal() || QApplication::activeModalWidget() != nullptr});
        forms.append(&form);
        if (onStep)
            onStep(form);
    }

    QList<Seen> seen;
    QList<QPointer<ProgressBarForm>> forms;
    std::function<void(ProgressBarForm&)> onStep;
};

} // namespace velkaro::test

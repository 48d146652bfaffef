#pragma once

#include <QDateTime>
#include <functional>

namespace velkaro {

// The date and time of the computer: the AutoRun.Inf timestamp, the status
// bar and the info dialog's year read it here.
QDateTime CurrentDateTime();

// Tests set the clock; an empty function returns to the computer's.
void SetClockForTesting(std::function<QDateTime()> clock);

} // namespace velkaro

#pragma once

#include <QDateTime>

namespace velkaro {

// The date and time of the computer: the AutoRun.Inf timestamp, the status
// bar and the info dialog's year read it here, unless they are handed a
// clock of their own.
QDateTime CurrentDateTime();

} // namespace velkaro

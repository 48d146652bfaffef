#include "Clock.h"

namespace velkaro {

QDateTime CurrentDateTime()
{
    return QDateTime::currentDateTime();
}

} // namespace velkaro

#include "Clock.h"

#include "TestHooks.h"

namespace velkaro {

namespace {

std::function<QDateTime()>& ClockOverride()
{
    static std::function<QDateTime()> clock;
    return clock;
}

} // namespace

QDateTime CurrentDateTime()
{
    return ClockOverride() ? ClockOverride()() : QDateTime::currentDateTime();
}

void SetClockForTesting(std::function<QDateTime()> clock)
{
    NoteTestHookReset([] { ClockOverride() = nullptr; });
    ClockOverride() = std::move(clock);
}

} // namespace velkaro

#include "TestHooks.h"

#include <algorithm>
#include <vector>

namespace velkaro {

namespace {

std::vector<void (*)()>& Resets()
{
    static std::vector<void (*)()> resets;
    return resets;
}

} // namespace

void NoteTestHookReset(void (*reset)())
{
    std::vector<void (*)()>& resets = Resets();
    if (std::find(resets.begin(), resets.end(), reset) == resets.end())
        resets.push_back(reset);
}

void ResetTestHooks()
{
    for (void (*reset)() : Resets())
        reset();
}

} // namespace velkaro

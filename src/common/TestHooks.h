#pragma once

namespace velkaro {

// Every Set...ForTesting hook of the program notes here how it is undone, so
// that a test's end undoes all of them at once, whichever library they are in.
void NoteTestHookReset(void (*reset)());

// Undoes every hook that was set: the program behaves as it does for a user.
void ResetTestHooks();

} // namespace velkaro

#pragma once

// What Pirolo.Exe says, in German. Plain C++ so that the texts are checked on
// any host. A value stands on a line of its own, indented by four blanks, as
// in Velkaro's own messages.

#include <cstdint>
#include <string>
#include <string_view>

namespace velkaro {

// Title of every message box of the launcher.
std::wstring PiroloTitle();

// Shown when the launcher is started without an argument (the disc's
// context-menu entry "&Über Pirolo ...").
std::wstring AboutText();

// The object named by the disc's entry does not exist.
std::wstring MissingObjectText(std::wstring_view fullPath);

// The argument names nothing on the disc (a drive, a stream, "..").
std::wstring NotOnDiscText(std::wstring_view argument);

// Opening failed with a Windows error code. The common codes get a German
// description of their own, since the system's text is in the language of
// whichever Windows reads the disc; other codes use systemDescription, with
// fullPath in place of its "%1" (the system's texts are fetched without
// filling their inserts).
std::wstring OpenFailedText(std::wstring_view fullPath, std::uint32_t code,
                            std::wstring_view systemDescription);

// The Windows error code of a failed ShellExecuteEx call, from its hInstApp
// and the last error (which the caller clears before the call). hInstApp
// says what went wrong when it is 32 or less, as an SE_ERR_ value; the last
// error is not always set, and left unset it would name an older failure.
// A prompt that the user declined stays ERROR_CANCELLED (1223).
std::uint32_t ShellExecuteErrorCode(std::uintptr_t instApp, std::uint32_t lastError);

} // namespace velkaro

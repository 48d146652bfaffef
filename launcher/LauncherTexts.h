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
// whichever Windows reads the disc; other codes use systemDescription.
std::wstring OpenFailedText(std::wstring_view fullPath, std::uint32_t code,
                            std::wstring_view systemDescription);

} // namespace velkaro

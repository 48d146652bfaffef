#pragma once

// How Pirolo.Exe reads its call. Plain C++ without Windows headers, so that
// the rules are tested on any host; the Windows program only feeds it
// GetCommandLineW() and GetModuleFileNameW().

#include <optional>
#include <string>
#include <string_view>

namespace velkaro {

// The argument of a raw Windows command line such as
//   "E:\Pirolo.Exe" "Bilder\"
// The program name is skipped (quoted: up to its closing quotation mark;
// unquoted: up to the first blank or tab), then the blanks after it. A quoted
// argument is everything between its quotation marks, taken literally: the
// usual argv rules would read the backslash of "Bilder\" as escaping the
// closing mark. Without a closing mark the rest of the line counts, and so it
// does for an unquoted argument; trailing blanks are dropped in both cases.
// Gives nothing when no argument follows the program name.
std::optional<std::wstring> ReadLauncherArgument(std::wstring_view commandLine);

// The folder part of a full path, with its closing backslash: the launcher's
// own folder (the disc root) for the module path, the containing folder for a
// document, the folder itself for a path that ends with a backslash.
std::wstring FolderOfPath(std::wstring_view path);

// The full path of an object named relative to the disc root. Leading
// backslashes are dropped, so "\" is the root itself and "\Bilder\" is
// "Bilder\". Gives nothing when the path would not stay on the disc: a colon
// (a drive letter, a stream name) or a ".." component, or a component of
// dots and blanks only such as ".. " that Windows' trimming of trailing dots
// and blanks may turn into "..".
std::optional<std::wstring> JoinWithDiscRoot(std::wstring_view discRoot,
                                             std::wstring_view relativePath);

} // namespace velkaro

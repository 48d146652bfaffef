#include "LauncherCommandLine.h"

namespace velkaro {

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

std::wstring_view DropTrailingBlanks(std::wstring_view text)
{
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// True for components that Windows resolves to the parent folder.
bool ClimbsUp(std::wstring_view component)
{
    int dots = 0;
    for (const wchar_t c : component) {
        if (c == L'.') {
            ++dots;
        } else if (c != L' ') {
            return false;
        }
    }
    return dots >= 2;
}

} // namespace

std::optional<std::wstring> ReadLauncherArgument(std::wstring_view commandLine)
{
    std::size_t pos = 0;
    if (!commandLine.empty() && commandLine.front() == L'"') {
        const std::size_t close = commandLine.find(L'"', 1);
        pos = close == std::wstring_view::npos ? commandLine.size() : close + 1;
    } else {
        while (pos < commandLine.size() && !IsBlank(commandLine[pos])) {
            ++pos;
        }
    }
    while (pos < commandLine.size() && IsBlank(commandLine[pos])) {
        ++pos;
    }
    std::wstring_view rest = commandLine.substr(pos);
    if (rest.empty()) {
        return std::nullopt;
    }
    if (rest.front() == L'"') {
        rest.remove_prefix(1);
        const std::size_t close = rest.find(L'"');
        if (close != std::wstring_view::npos) {
            return std::wstring(rest.substr(0, close));
        }
    }
    return std::wstring(DropTrailingBlanks(rest));
}

std::wstring FolderOfPath(std::wstring_view path)
{
    const std::size_t last = path.find_last_of(L"\\/");
    if (last == std::wstring_view::npos) {
        return {};
    }
    return std::wstring(path.substr(0, last + 1));
}

std::optional<std::wstring> JoinWithDiscRoot(std::wstring_view discRoot,
                                             std::wstring_view relativePath)
{
    while (!relativePath.empty() && IsSeparator(relativePath.front())) {
        relativePath.remove_prefix(1);
    }
    if (relativePath.find(L':') != std::wstring_view::npos) {
        return std::nullopt;
    }
    std::wstring_view rest = relativePath;
    while (!rest.empty()) {
        std::size_t end = 0;
        while (end < rest.size() && !IsSeparator(rest[end])) {
            ++end;
        }
        if (ClimbsUp(rest.substr(0, end))) {
            return std::nullopt;
        }
        rest.remove_prefix(end < rest.size() ? end + 1 : end);
    }
    std::wstring full(discRoot);
    if (!full.empty() && !IsSeparator(full.back())) {
        full += L'\\';
    }
    full += relativePath;
    return full;
}

} // namespace velkaro

// Pirolo.Exe reads the command line that Windows hands it: normally the one
// an AutoRun.Inf entry names, but anyone can start it with any text. What it
// reads must never lead it off the disc.
//
// Input: pieces cut at byte 0x01: the command line, the launcher's own path,
// a relative path.

#include "FuzzSupport.h"
#include "LauncherCommandLine.h"

#include <string>
#include <string_view>

using namespace velkaro;
using namespace velkaro::fuzzing;

namespace {

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

QByteArray ShownW(std::wstring_view text)
{
    return Shown(QString::fromStdWString(std::wstring(text)));
}

// Walks the path as Windows would resolve it below the root, where a
// component of dots and blanks with two dots or more counts as the parent
// (Windows drops trailing dots and blanks of a name). Gives false when the
// walk ever climbs above the root.
bool StaysBelowRoot(std::wstring_view path)
{
    int depth = 0;
    std::wstring component;
    const auto close = [&] {
        bool dotsAndBlanks = !component.empty();
        int dots = 0;
        for (const wchar_t c : component) {
            dots += c == L'.';
            dotsAndBlanks = dotsAndBlanks && (c == L'.' || c == L' ');
        }
        if (dotsAndBlanks && dots >= 2)
            --depth;
        else if (!component.empty() && component != L".")
            ++depth;
        component.clear();
        return depth >= 0;
    };
    for (const wchar_t c : path) {
        if (IsSeparator(c)) {
            if (!close())
                return false;
        } else {
            component += c;
        }
    }
    return close();
}

void CheckArgument(std::wstring_view commandLine)
{
    const std::optional<std::wstring> argument = ReadLauncherArgument(commandLine);
    if (argument)
        FUZZ_CHECK_MSG(commandLine.find(*argument) != std::wstring_view::npos, ShownW(commandLine));
    // Nothing after the program name but blanks: no argument.
    if (commandLine.find_first_not_of(L" \t") == std::wstring_view::npos)
        FUZZ_CHECK(!argument);
}

// The command lines that AutoRun.Inf entries make read back as the path that
// was written, with the program named with or without quotation marks.
void CheckRoundTrip(const std::wstring& program, const std::wstring& relative)
{
    if (relative.find(L'"') != std::wstring::npos || program.find(L'"') != std::wstring::npos)
        return;
    const std::wstring quotedArgument = L"\"" + relative + L"\"";
    const std::wstring quotedProgram = L"\"" + program + L"\"";
    FUZZ_CHECK_MSG(ReadLauncherArgument(quotedProgram + L" " + quotedArgument) == relative,
                   ShownW(relative));
    FUZZ_CHECK_MSG(ReadLauncherArgument(quotedProgram + quotedArgument) == relative,
                   ShownW(relative));
    FUZZ_CHECK(!ReadLauncherArgument(quotedProgram + L"  \t"));
    if (!program.empty() && program.find_first_of(L" \t") == std::wstring::npos) {
        FUZZ_CHECK_MSG(ReadLauncherArgument(program + L" " + quotedArgument) == relative,
                       ShownW(program) + " " + ShownW(relative));
        FUZZ_CHECK(!ReadLauncherArgument(program));
    }
}

void CheckFolder(std::wstring_view path)
{
    const std::wstring folder = FolderOfPath(path);
    FUZZ_CHECK(path.substr(0, folder.size()) == folder);
    if (!folder.empty())
        FUZZ_CHECK(IsSeparator(folder.back()));
    for (const wchar_t c : path.substr(folder.size()))
        FUZZ_CHECK_MSG(!IsSeparator(c), ShownW(path));
}

void CheckJoin(std::wstring_view root, std::wstring_view relative)
{
    const std::optional<std::wstring> full = JoinWithDiscRoot(root, relative);
    std::wstring_view below = relative;
    while (!below.empty() && IsSeparator(below.front()))
        below.remove_prefix(1);
    const bool safe = below.find(L':') == std::wstring_view::npos && StaysBelowRoot(below);
    if (!full) {
        // Refused only for a reason: a path that climbs out or names a drive
        // or stream. A harmless path such as "a..b\c." must open.
        bool climbs = false;
        std::wstring component;
        for (size_t i = 0; i <= below.size(); ++i) {
            if (i == below.size() || IsSeparator(below[i])) {
                climbs = climbs || (component.find_first_not_of(L". ") == std::wstring::npos &&
                                    component.find(L'.') != component.rfind(L'.'));
                component.clear();
            } else {
                component += below[i];
            }
        }
        FUZZ_CHECK_MSG(!safe || climbs, ShownW(relative));
        return;
    }
    FUZZ_CHECK_MSG(safe, ShownW(root) + " | " + ShownW(relative));
    FUZZ_CHECK(std::wstring_view(*full).substr(0, root.size()) == root);
    FUZZ_CHECK(full->size() >= below.size() &&
               std::wstring_view(*full).substr(full->size() - below.size()) == below);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<QString> pieces = Pieces(data, size);
    const std::wstring commandLine = PieceAt(pieces, 0).toStdWString();
    const std::wstring modulePath = PieceAt(pieces, 1).toStdWString();
    const std::wstring relative = PieceAt(pieces, 2).toStdWString();

    CheckArgument(commandLine);
    CheckRoundTrip(modulePath, relative);
    CheckFolder(modulePath);
    CheckFolder(relative);
    CheckJoin(FolderOfPath(modulePath), relative);

    // The launcher's own road: its folder, the argument, the joined path.
    if (const auto argument = ReadLauncherArgument(commandLine))
        CheckJoin(FolderOfPath(modulePath), *argument);
    return 0;
}

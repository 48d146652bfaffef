// Plays the shell's part in the end-to-end test of a disc (tests/disc): it
// reads AutoRun.Inf with the profile functions that Explorer uses, runs the
// entries' command lines as Explorer does and loads the drive's icon. It
// judges nothing; the test on the Linux side compares what it reports.
//
// Call: discshell SCRIPT REPORT
// SCRIPT is UTF-8, one command a line, its fields separated by tabs:
//   probe   ROOT                 the ANSI code page, the locale, the drive type
//   values  INF                  every key of [autorun] and its value as read
//   entry   INF KEY FOLDER       runs KEY's command line, FOLDER current
//   run     FOLDER COMMANDLINE   runs COMMANDLINE, FOLDER current
//   icon    INF ROOT             the icon entry: its file and index as the
//                                shell parses them, and the icons loaded
//   icons   FILE                 the icons loaded from FILE
// REPORT gets a JSON array with one object a command. A run sets
// PIROLO_TEST_MESSAGES and VELKARO_TEST_RECORD to REPORT.messages and
// REPORT.record, emptied before and read after the run, so that the report
// holds the messages of the launcher and the paths handed to the recorder.

// The other Windows headers need windows.h before them.
// clang-format off
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>
// clang-format on

#include <string>
#include <vector>

namespace {

constexpr DWORD RunTimeoutMs = 30000;

std::wstring FromUtf8(const std::string& bytes)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    std::wstring text(std::size_t(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), text.data(), length);
    return text;
}

std::string ToUtf8(const std::wstring& text)
{
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string bytes(std::size_t(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), length, nullptr,
                        nullptr);
    return bytes;
}

// The whole file, or nothing when it does not exist.
std::string ReadBytes(const std::wstring& path)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return {};
    }
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    CloseHandle(file);
    return bytes;
}

std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator)
{
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::wstring::npos) {
            return parts;
        }
        start = end + 1;
    }
}

std::wstring Json(const std::wstring& text)
{
    std::wstring quoted = L"\"";
    for (const wchar_t c : text) {
        if (c == L'"' || c == L'\\') {
            quoted += L'\\';
            quoted += c;
        } else if (c < 0x20) {
            const wchar_t* hex = L"0123456789abcdef";
            quoted += L"\\u00";
            quoted += hex[c >> 4];
            quoted += hex[c & 15];
        } else {
            quoted += c;
        }
    }
    return quoted + L"\"";
}

std::wstring Json(long long number)
{
    return std::to_wstring(number);
}

std::wstring Json(const std::vector<std::wstring>& texts)
{
    std::wstring array = L"[";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        array += (i == 0 ? L"" : L",") + Json(texts[i]);
    }
    return array + L"]";
}

// Profile strings come back cut at the buffer's end: grow until they fit.
std::wstring ProfileString(const wchar_t* section, const wchar_t* key, const std::wstring& inf)
{
    std::vector<wchar_t> buffer(256);
    for (;;) {
        const DWORD length = GetPrivateProfileStringW(section, key, L"", buffer.data(),
                                                      DWORD(buffer.size()), inf.c_str());
        if (length + 2 < buffer.size()) {
            return std::wstring(buffer.data(), length);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring Probe(const std::wstring& root)
{
    return L"{\"acp\":" + Json(GetACP()) + L",\"locale\":" + Json(GetUserDefaultLCID()) +
           L",\"driveType\":" + Json(GetDriveTypeW(root.c_str())) + L"}";
}

std::wstring Values(const std::wstring& inf)
{
    // Without a key the profile functions list the section's keys, each
    // ending with a zero.
    const std::wstring keys = ProfileString(L"autorun", nullptr, inf);
    std::wstring object = L"{";
    bool first = true;
    for (const std::wstring& key : Split(keys, L'\0')) {
        if (key.empty()) {
            continue;
        }
        object += (first ? L"" : L",") + Json(key) + L":" +
                  Json(ProfileString(L"autorun", key.c_str(), inf));
        first = false;
    }
    return object + L"}";
}

std::wstring Run(std::wstring commandLine, const std::wstring& folder, const std::wstring& report)
{
    const std::wstring messages = report + L".messages";
    const std::wstring record = report + L".record";
    DeleteFileW(messages.c_str());
    DeleteFileW(record.c_str());
    SetEnvironmentVariableW(L"PIROLO_TEST_MESSAGES", messages.c_str());
    SetEnvironmentVariableW(L"VELKARO_TEST_RECORD", record.c_str());

    // As the shell does: the program is looked for in the current folder
    // of the caller, not in the folder given to it.
    SetCurrentDirectoryW(folder.c_str());
    // The launcher ends as soon as it has handed the object on; the job
    // tells when the program it started has ended too.
    const HANDLE job = CreateJobObjectW(nullptr, nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, folder.c_str(), &startup, &process)) {
        const DWORD error = GetLastError();
        CloseHandle(job);
        return L"{\"started\":false,\"error\":" + Json(error) + L"}";
    }
    AssignProcessToJobObject(job, process.hProcess);
    ResumeThread(process.hThread);
    bool finished = WaitForSingleObject(process.hProcess, RunTimeoutMs) == WAIT_OBJECT_0;
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    const DWORD deadline = GetTickCount() + RunTimeoutMs;
    for (;;) {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION info{};
        if (!QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &info, sizeof info,
                                       nullptr) ||
            info.ActiveProcesses == 0) {
            break;
        }
        if (LONG(GetTickCount() - deadline) > 0) {
            finished = false;
            break;
        }
        Sleep(20);
    }
    if (!finished) {
        TerminateJobObject(job, 1);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    CloseHandle(job);

    std::vector<std::wstring> recorded = Split(FromUtf8(ReadBytes(record)), L'\n');
    recorded.pop_back(); // after the last line end
    std::vector<std::wstring> shown = Split(FromUtf8(ReadBytes(messages)), L'\x1E');
    shown.pop_back();
    return L"{\"started\":true,\"finished\":" + std::wstring(finished ? L"true" : L"false") +
           L",\"exitCode\":" + Json(exitCode) + L",\"recorded\":" + Json(recorded) +
           L",\"messages\":" + Json(shown) + L"}";
}

int IconWidth(HICON icon)
{
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info)) {
        return 0;
    }
    BITMAP bitmap{};
    GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor != nullptr) {
        DeleteObject(info.hbmColor);
    }
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

std::wstring Icons(const std::wstring& file, int index)
{
    const UINT count = ExtractIconExW(file.c_str(), -1, nullptr, nullptr, 0);
    HICON largeIcon = nullptr;
    HICON smallIcon = nullptr;
    ExtractIconExW(file.c_str(), index, &largeIcon, &smallIcon, 1);
    const std::wstring result = L"{\"count\":" + Json(count) + L",\"large\":" +
                                Json(IconWidth(largeIcon)) + L",\"small\":" +
                                Json(IconWidth(smallIcon)) + L"}";
    if (largeIcon != nullptr) {
        DestroyIcon(largeIcon);
    }
    if (smallIcon != nullptr) {
        DestroyIcon(smallIcon);
    }
    return result;
}

// The icon entry read and parsed as the shell does: "file,index", the file
// relative to the drive's root.
std::wstring Icon(const std::wstring& inf, const std::wstring& root)
{
    const std::wstring value = ProfileString(L"autorun", L"icon", inf);
    std::vector<wchar_t> location(value.begin(), value.end());
    location.resize(value.size() + MAX_PATH, L'\0');
    const int index = PathParseIconLocationW(location.data());
    std::wstring file = location.data();
    const std::wstring full = PathIsRelativeW(file.c_str()) ? root + file : file;
    return L"{\"value\":" + Json(value) + L",\"file\":" + Json(file) + L",\"index\":" +
           Json(index) + L",\"icons\":" + Icons(full, index) + L"}";
}

std::wstring Execute(const std::vector<std::wstring>& command, const std::wstring& report)
{
    const std::wstring& verb = command[0];
    const auto field = [&](std::size_t i) { return i < command.size() ? command[i] : L""; };
    if (verb == L"probe") {
        return Probe(field(1));
    }
    if (verb == L"values") {
        return Values(field(1));
    }
    if (verb == L"entry") {
        const std::wstring inf = field(1);
        return Run(ProfileString(L"autorun", field(2).c_str(), inf), field(3), report);
    }
    if (verb == L"run") {
        return Run(field(2), field(1), report);
    }
    if (verb == L"icon") {
        return Icon(field(1), field(2));
    }
    if (verb == L"icons") {
        return Icons(field(1), 0);
    }
    return L"{\"unknown\":" + Json(verb) + L"}";
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        return 2;
    }
    const std::wstring report = argv[2];
    // Wine starts the desktop's process on first use, as a child of the
    // process that needs it: here, so that it is not counted in a run's job.
    GetDesktopWindow();
    std::wstring output = L"[";
    bool first = true;
    for (std::wstring line : Split(FromUtf8(ReadBytes(argv[1])), L'\n')) {
        if (!line.empty() && line.back() == L'\r') {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        output += (first ? L"\n" : L",\n") + Execute(Split(line, L'\t'), report);
        first = false;
    }
    output += L"\n]\n";

    const std::string bytes = ToUtf8(output);
    const HANDLE file = CreateFileW(report.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 3;
    }
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    CloseHandle(file);
    return ok ? 0 : 4;
}

// Stands for the program that Windows would open a document or a folder
// with: registered for them in the test's Wine prefix, it appends the path
// it was given to the file named by VELKARO_TEST_RECORD (UTF-8, one line).
// The registered command line is  "recorder.exe" "%1" ; the path is taken
// from the raw line, as a folder's "D:\Bilder\" would lose its closing
// backslash to the argv rules.

#include <string>
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    std::wstring_view line = GetCommandLineW();
    std::size_t pos = 0;
    if (!line.empty() && line.front() == L'"') {
        pos = line.find(L'"', 1);
        pos = pos == std::wstring_view::npos ? line.size() : pos + 1;
    } else {
        pos = line.find(L' ');
        pos = pos == std::wstring_view::npos ? line.size() : pos;
    }
    std::wstring_view rest = line.substr(pos);
    while (!rest.empty() && rest.front() == L' ') {
        rest.remove_prefix(1);
    }
    if (!rest.empty() && rest.front() == L'"') {
        rest.remove_prefix(1);
        rest = rest.substr(0, rest.find(L'"'));
    }
    const std::wstring record = std::wstring(rest) + L'\n';

    wchar_t file[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"VELKARO_TEST_RECORD", file, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return 3;
    }
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, record.c_str(), int(record.size()), nullptr,
                                          0, nullptr, nullptr);
    std::string utf8(std::size_t(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, record.c_str(), int(record.size()), utf8.data(), bytes, nullptr,
                        nullptr);
    const HANDLE handle = CreateFileW(file, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return 4;
    }
    DWORD written = 0;
    const bool ok = WriteFile(handle, utf8.data(), DWORD(utf8.size()), &written, nullptr) &&
                    written == utf8.size();
    CloseHandle(handle);
    return ok ? 0 : 5;
}

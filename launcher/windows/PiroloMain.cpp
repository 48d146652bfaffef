// Pirolo.Exe: opens the document or folder that an entry of the disc's
// AutoRun.Inf names, or tells what it is when started without an argument.

#include "LauncherCommandLine.h"
#include "LauncherTexts.h"

#include <objbase.h>
#include <shellapi.h>
#include <string>
#include <windows.h>
#ifdef PIROLO_TEST_SEAM
#include <vector>
#endif

namespace velkaro {
namespace {

#ifdef PIROLO_TEST_SEAM
// Only in the build for the end-to-end test, which has no desktop: with
// PIROLO_TEST_MESSAGES naming a file, a message is appended to it in UTF-8
// (icon, tab, title, tab, text, U+001E) instead of shown.
bool RecordMessage(const std::wstring& text, UINT icon)
{
    wchar_t file[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"PIROLO_TEST_MESSAGES", file, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return false;
    }
    // No std::to_wstring and no std::string: they would bring in the
    // library's string code with exceptions, see SmallRuntime.cpp.
    std::wstring record;
    for (UINT rest = icon;; rest /= 10) {
        record.insert(record.begin(), static_cast<wchar_t>(L'0' + rest % 10));
        if (rest < 10) {
            break;
        }
    }
    record += L'\t' + PiroloTitle() + L'\t' + text + L'\x1E';
    const int bytes = WideCharToMultiByte(
        CP_UTF8, 0, record.c_str(), static_cast<int>(record.size()), nullptr, 0, nullptr, nullptr);
    std::vector<char> utf8(static_cast<std::size_t>(bytes));
    WideCharToMultiByte(CP_UTF8, 0, record.c_str(), static_cast<int>(record.size()), utf8.data(),
                        bytes, nullptr, nullptr);
    const HANDLE handle = CreateFileW(file, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(handle);
    return true;
}
#endif

void ShowMessage(const std::wstring& text, UINT icon)
{
#ifdef PIROLO_TEST_SEAM
    if (RecordMessage(text, icon)) {
        return;
    }
#endif
    // Started by the shell at the insertion of a disc, the launcher may not
    // own the foreground; the box must not hide behind other windows.
    MessageBoxW(nullptr, text.c_str(), PiroloTitle().c_str(), MB_OK | icon | MB_SETFOREGROUND);
}

std::wstring ModulePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            return {};
        }
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::wstring SystemErrorText(DWORD code)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text;
    if (length != 0 && buffer != nullptr) {
        text.assign(buffer, length);
    }
    LocalFree(buffer);
    return text;
}

int OpenOnDisc(const std::wstring& argument)
{
    const std::optional<std::wstring> target =
        JoinWithDiscRoot(FolderOfPath(ModulePath()), argument);
    if (!target) {
        ShowMessage(NotOnDiscText(argument), MB_ICONERROR);
        return 2;
    }
    if (GetFileAttributesW(target->c_str()) == INVALID_FILE_ATTRIBUTES) {
        ShowMessage(MissingObjectText(*target), MB_ICONERROR);
        return 1;
    }

    // Shell extensions that open a document may be COM objects.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    const std::wstring folder = FolderOfPath(*target);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    // NOASYNC: the launcher ends right after the call. NO_UI: every failure
    // gets the one German message below, not a system box in addition.
    info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
    info.lpFile = target->c_str();
    info.lpDirectory = folder.c_str();
    info.nShow = SW_SHOWNORMAL;
    int result = 0;
    // A failure does not always set the last error: clear what an earlier
    // call left there.
    SetLastError(0);
    if (!ShellExecuteExW(&info)) {
        const DWORD error =
            ShellExecuteErrorCode(reinterpret_cast<std::uintptr_t>(info.hInstApp), GetLastError());
        // A prompt the user declined (elevation, a security warning) is
        // their answer, not a failure to report.
        if (error != ERROR_CANCELLED) {
            ShowMessage(OpenFailedText(*target, error, SystemErrorText(error)), MB_ICONERROR);
            result = 1;
        }
    }
    if (SUCCEEDED(com)) {
        CoUninitialize();
    }
    return result;
}

// A disc, or the folder someone copied it to, may hold a DLL named like a
// system one beside Pirolo.Exe: Windows would load it from there, into a
// program that the user trusts because it is signed. Windows 7 without
// update KB2533623 lacks SetDefaultDllDirectories; SetDllDirectoryW(L"")
// at least takes the current folder out of the search.
void LoadDllsOnlyFromSystem()
{
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDefault == nullptr || !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        SetDllDirectoryW(L"");
    }
}

} // namespace
} // namespace velkaro

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    velkaro::LoadDllsOnlyFromSystem();
    // The raw command line, not argv: argv would read the backslash of a
    // folder path such as "Bilder\" as escaping its closing quotation mark.
    const std::optional<std::wstring> argument = velkaro::ReadLauncherArgument(GetCommandLineW());
    if (!argument) {
        velkaro::ShowMessage(velkaro::AboutText(), MB_ICONINFORMATION);
        return 0;
    }
    return velkaro::OpenOnDisc(*argument);
}

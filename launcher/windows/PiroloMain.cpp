// Pirolo.Exe: opens the document or folder that an entry of the disc's
// AutoRun.Inf names, or tells what it is when started without an argument.

#include "LauncherCommandLine.h"
#include "LauncherTexts.h"

#include <objbase.h>
#include <shellapi.h>
#include <string>
#include <windows.h>

namespace velkaro {
namespace {

void ShowMessage(const std::wstring& text, UINT icon)
{
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

} // namespace
} // namespace velkaro

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // The raw command line, not argv: argv would read the backslash of a
    // folder path such as "Bilder\" as escaping its closing quotation mark.
    const std::optional<std::wstring> argument = velkaro::ReadLauncherArgument(GetCommandLineW());
    if (!argument) {
        velkaro::ShowMessage(velkaro::AboutText(), MB_ICONINFORMATION);
        return 0;
    }
    return velkaro::OpenOnDisc(*argument);
}

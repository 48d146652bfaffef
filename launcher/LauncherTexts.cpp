#include "LauncherTexts.h"

#include "PiroloBuild.h"

namespace velkaro {

namespace {

std::wstring Indented(std::wstring_view value)
{
    return L"\r\n\r\n    " + std::wstring(value) + L"\r\n\r\n";
}

std::wstring Lowered(std::wstring text)
{
    for (wchar_t& c : text) {
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
    }
    return text;
}

// Not std::to_wstring: on Windows it brings in the C runtime's whole
// formatted output, several times the size of the launcher's own code.
std::wstring Decimal(std::uint32_t value)
{
    std::wstring digits;
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + value % 10));
        value /= 10;
    } while (value != 0);
    return digits;
}

std::wstring_view DropTrailingSpace(std::wstring_view text)
{
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' ||
                             text.back() == L'\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// A system text's "%1" is the object; other inserts have nothing to fill
// them and are dropped. "%10" is insert ten, not "%1" and a zero.
std::wstring FillPathInsert(std::wstring_view text, std::wstring_view path)
{
    std::wstring filled;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != L'%' || i + 1 >= text.size() || text[i + 1] < L'1' || text[i + 1] > L'9') {
            filled += text[i++];
            continue;
        }
        std::size_t end = i + 2;
        if (end < text.size() && text[end] >= L'0' && text[end] <= L'9') {
            ++end;
        }
        const bool isPath = end == i + 2 && text[i + 1] == L'1';
        // An insert may carry a format between exclamation marks: "%1!s!".
        if (end < text.size() && text[end] == L'!') {
            const std::size_t close = text.find(L'!', end + 1);
            if (close != std::wstring_view::npos) {
                end = close + 1;
            }
        }
        if (isPath) {
            filled += path;
        }
        i = end;
    }
    return filled;
}

std::wstring FailureDescription(std::uint32_t code, std::wstring_view systemDescription,
                                std::wstring_view fullPath)
{
    switch (code) {
    case 2:
        return L"Die Datei wurde nicht gefunden.";
    case 3:
        return L"Der Pfad wurde nicht gefunden.";
    case 5:
        return L"Zugriff verweigert.";
    case 8:
    case 14:
        return L"Nicht genügend Arbeitsspeicher.";
    case 21:
        return L"Das Laufwerk ist nicht bereit.";
    case 32:
        return L"Die Datei wird von einem anderen Programm verwendet.";
    case 1155:
        return L"Für diese Datei ist kein Programm zum Öffnen eingerichtet.";
    case 1156:
        return L"Die Übergabe an das zuständige Programm ist fehlgeschlagen.";
    case 1157:
        return L"Eine Programmbibliothek, die zum Öffnen nötig ist, wurde nicht gefunden.";
    default:
        break;
    }
    const std::wstring_view trimmed = DropTrailingSpace(systemDescription);
    return trimmed.empty() ? std::wstring(L"Unbekannter Fehler.")
                           : FillPathInsert(trimmed, fullPath);
}

} // namespace

std::wstring PiroloTitle()
{
    return L"Pirolo";
}

std::wstring AboutText()
{
    return std::wstring(
               L"Pirolo, Version " PIROLO_VERSION_TEXT_W L"\r\n\r\n"
               L"Pirolo ist der Starter dieser CD. Es öffnet die Dokumente und Ordner, die beim "
               L"Einlegen der CD und im Kontextmenü des CD-Laufwerks vorgesehen sind, mit den "
               L"Programmen, die Windows dafür eingerichtet hat."
               L"\r\n\r\n"
               L"Diese CD wurde mit Velkaro 2005 erstellt."
               L"\r\n\r\n"
               L"Velkaro 2005 und Pirolo sind Programme von " PIROLO_MAKER_NAME_W) +
           L" (" + Lowered(PIROLO_MAKER_HOST_W) + L").";
}

std::wstring MissingObjectText(std::wstring_view fullPath)
{
    return L"Die Datei bzw. der Ordner" + Indented(fullPath) +
           L"ist auf dieser CD nicht vorhanden und lässt sich daher nicht öffnen.";
}

std::wstring NotOnDiscText(std::wstring_view argument)
{
    return L"Der Pfad" + Indented(argument) +
           L"bezeichnet keine Datei und keinen Ordner auf dieser CD. Pirolo öffnet nur, was "
           L"auf der CD liegt, angegeben relativ zu ihrem Stammordner.";
}

std::wstring OpenFailedText(std::wstring_view fullPath, std::uint32_t code,
                            std::wstring_view systemDescription)
{
    std::wstring text = L"Die Datei bzw. der Ordner" + Indented(fullPath) +
                        L"ließ sich nicht öffnen. Es kam dabei zu folgendem Fehler:\r\n\r\n    ";
    text += FailureDescription(code, systemDescription, fullPath);
    text += L" (Code " + Decimal(code) + L")";
    return text;
}

std::uint32_t ShellExecuteErrorCode(std::uintptr_t instApp, std::uint32_t lastError)
{
    constexpr std::uint32_t Cancelled = 1223;
    if (lastError == Cancelled || instApp > 32) {
        return lastError;
    }
    switch (instApp) {
    case 0: // out of memory or resources, or hInstApp never set
        return lastError != 0 ? lastError : 8;
    case 2:  // SE_ERR_FNF
    case 3:  // SE_ERR_PNF
    case 5:  // SE_ERR_ACCESSDENIED
    case 8:  // SE_ERR_OOM
    case 11: // ERROR_BAD_FORMAT
        return static_cast<std::uint32_t>(instApp);
    case 26: // SE_ERR_SHARE
        return 32;
    case 27: // SE_ERR_ASSOCINCOMPLETE
    case 31: // SE_ERR_NOASSOC
        return 1155;
    case 28: // SE_ERR_DDETIMEOUT
    case 29: // SE_ERR_DDEFAIL
    case 30: // SE_ERR_DDEBUSY
        return 1156;
    case 32: // SE_ERR_DLLNOTFOUND
        return 1157;
    default:
        return lastError != 0 ? lastError : static_cast<std::uint32_t>(instApp);
    }
}

} // namespace velkaro

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

std::wstring FailureDescription(std::uint32_t code, std::wstring_view systemDescription)
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
    case 1155:
        return L"Für diese Datei ist kein Programm zum Öffnen eingerichtet.";
    case 1156:
        return L"Die Übergabe an das zuständige Programm ist fehlgeschlagen.";
    default:
        break;
    }
    const std::wstring_view trimmed = DropTrailingSpace(systemDescription);
    return trimmed.empty() ? std::wstring(L"Unbekannter Fehler.") : std::wstring(trimmed);
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
    text += FailureDescription(code, systemDescription);
    text += L" (Code " + Decimal(code) + L")";
    return text;
}

} // namespace velkaro

#include "UnusableCharacters.h"

#include "FileHelpers.h"
#include "Windows1252.h"

namespace velkaro {

namespace {

bool IsControl(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F);
}

bool IsForbiddenByWindows(char32_t c)
{
    switch (c) {
    case U'"':
    case U'<':
    case U'>':
    case U'|':
    case U'?':
    case U'*':
    case U':':
        return true;
    case U'\\':
        return PathSeparator() != QLatin1Char('\\');
    default:
        return false;
    }
}

} // namespace

std::optional<char32_t> FindUnusableCharacter(QStringView relativePart)
{
    for (qsizetype i = 0; i < relativePart.size(); ++i) {
        char32_t c = relativePart.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < relativePart.size() &&
            relativePart.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(relativePart.at(i), relativePart.at(i + 1));
            ++i;
        }
        if (IsControl(c) || IsForbiddenByWindows(c) || !CanEncodeWindows1252(c))
            return c;
    }
    return std::nullopt;
}

} // namespace velkaro

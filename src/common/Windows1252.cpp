#include "Windows1252.h"

#include <array>

namespace velkaro {

namespace {

// Bytes 0x80 to 0x9F. The five bytes that Windows-1252 leaves undefined map
// onto the C1 control of the same number, as Windows itself converts them.
constexpr std::array<char16_t, 32> HighControlRow = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int ByteFor(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<int>(codePoint);
    for (std::size_t i = 0; i < HighControlRow.size(); ++i) {
        if (HighControlRow[i] == codePoint)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

} // namespace

bool CanEncodeWindows1252(char32_t codePoint)
{
    return ByteFor(codePoint) >= 0;
}

QByteArray ToWindows1252(QStringView text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t cp = text.at(i).unicode();
        if (QChar::isHighSurrogate(cp) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            ++i;
        }
        const int byte = ByteFor(cp);
        bytes.append(byte >= 0 ? static_cast<char>(byte) : '?');
    }
    return bytes;
}

QString FromWindows1252(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text.append(b >= 0x80 && b < 0xA0 ? QChar(HighControlRow[b - 0x80]) : QChar(b));
    }
    return text;
}

} // namespace velkaro

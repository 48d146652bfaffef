#pragma once

#include <QByteArray>
#include <QString>

namespace velkaro {

// AutoRun.Inf is read by Windows on another computer, so it is written in
// Windows-1252 whatever the locale of the machine that writes it.

// True when the code point has a byte of its own in Windows-1252.
bool CanEncodeWindows1252(char32_t codePoint);

// One byte per character; a character without a byte becomes "?" (a
// surrogate pair counts as one character).
QByteArray ToWindows1252(QStringView text);

QString FromWindows1252(const QByteArray& bytes);

} // namespace velkaro

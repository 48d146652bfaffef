#pragma once

#include <QString>

namespace velkaro {

// The words that the OK command writes and velkaro-image checks, kept once so
// that what is written and what is looked for cannot drift apart.

inline QString AutorunFileName()
{
    return QStringLiteral("AutoRun.Inf");
}
inline QString LauncherFileName()
{
    return QStringLiteral("Pirolo.Exe");
}
inline QString LibraryIconFileName()
{
    return QStringLiteral("AutoRun.Ico");
}

// A name, path or value inside a German message: „text“.
QString Quoted(const QString& text);

// The character as a message names it: „?“ (U+003F), or only the code for
// a character that cannot be seen.
QString DescribeCharacter(char32_t codePoint);

} // namespace velkaro

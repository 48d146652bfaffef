#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace velkaro::image {

// Windows reads a disc through its Joliet tree. Joliet allows names of 64
// UCS-2 characters and forbids control characters and * / : ; ? \. The
// writer (libisofs, without its non-standard long-name option) shortens and
// replaces instead of refusing; these functions say what it makes of a name.
inline constexpr int JolietNameLimit = 64;

// The name as the Joliet tree carries it. Files keep their extension when
// shortened (at least three characters of it); folders are cut at the limit.
QString JolietName(const QString& name, bool folder);

// Length in UCS-2 characters as Joliet counts it (a character beyond the
// 16-bit range is one character, written as "_").
int JolietLength(const QString& name);

// The first character that Joliet does not allow.
std::optional<char32_t> ForbiddenJolietCharacter(const QString& name);

// Windows drops trailing dots and blanks of each name in a path; "." and ".."
// stay as they are.
QString WindowsTrimmed(const QString& name);

} // namespace velkaro::image

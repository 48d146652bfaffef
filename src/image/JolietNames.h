#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

namespace velkaro::image {

// Windows reads a disc through its Joliet tree. Joliet allows names of 64
// UCS-2 characters and forbids control characters and * / : ; ? \. The
// writer (libisofs, without its non-standard long-name option) shortens and
// replaces instead of refusing; these functions say what it makes of a name.
inline constexpr int JolietNameLimit = 64;

// "D:\" + 256 characters + the closing NUL fill Windows' MAX_PATH of 260.
inline constexpr int WindowsPathLimit = 256;

// The characters of a name as the writer counts them against the limit: the
// dot before a file's extension is not counted (a 65-character "name.ext"
// stays as it is), a folder's dots are.
int JolietCount(const QString& name, bool folder);

// JolietCount in words, saying when the dot is left out.
QString JolietCountText(const QString& name, bool folder);

// The name as the Joliet tree carries it. Files keep their extension when
// shortened (at least three characters of it); folders are cut at the limit.
// A character beyond the 16-bit range, or a byte that is no UTF-8, becomes
// one "_".
QString JolietName(const QString& name, bool folder);

// The first character that Joliet does not allow.
std::optional<char32_t> ForbiddenJolietCharacter(const QString& name);

// The first character that Windows does not allow in a name but that
// Joliet keeps: " < > |.
std::optional<char32_t> ForbiddenWindowsCharacter(const QString& name);

// Windows drops trailing dots and blanks of each name in a path; "." and ".."
// stay as they are.
QString WindowsTrimmed(const QString& name);

// A name as the file system holds it, in UTF-8. A byte that is no part of
// UTF-8 (left by an old archive) is kept as one character U+DC80..U+DCFF,
// so that nothing is lost and the writer's one "_" per byte is predicted.
QString LocalName(const QByteArray& bytes);
QByteArray LocalBytes(const QString& name);
// The bytes of such a name for a message: "Bad\xFF\xFEName.txt".
QString ShownName(const QString& name);
bool HasForeignBytes(const QString& name);

} // namespace velkaro::image

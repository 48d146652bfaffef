#pragma once

#include "Failure.h"

#include <QByteArray>
#include <QString>
#include <functional>

namespace velkaro {

enum class WriteMode
{
    Replace = 0,     // replace an existing file
    KeepExisting = 1 // keep an existing file, write under the first free "name(n).ext"
};

// Writes the text as the whole content of the file, in Windows-1252, with no
// byte-order mark and no line end added. The new content goes to a temporary
// file in the same folder first and replaces the old file only when it is
// complete, so a failure leaves the old file as it was.
MaybeFailure WriteWholeFile(const QString& path, const QString& text,
                            WriteMode mode = WriteMode::Replace);

// Replaces the file with exactly these bytes, or leaves it untouched.
MaybeFailure WriteFileAtomically(const QString& path, const QByteArray& bytes);

// Copies source over destination, replacing an existing file without asking;
// on failure the destination is as it was before.
MaybeFailure CopyFileAtomically(const QString& source, const QString& destination);

// True when a plain file matches the path: hidden and system files and
// folders do not count. "*" and "?" in the file name are wildcards.
bool FileExists(const QString& path);

// The folder of the running program's file, with a closing separator.
QString ProgramFolder();
// Tests point the program folder elsewhere; an empty text restores the real one.
void SetProgramFolderForTesting(const QString& folder);

// The system's path separator: "\" on Windows, "/" elsewhere.
QChar PathSeparator();

// The path with the system's separator appended unless it already ends with one.
QString AddBackslash(const QString& path);

// True when the text is an absolute path of this system: on Windows one
// with a drive (it holds ":\"), elsewhere one that begins with "/". The
// sentinel texts of the fields never are.
bool HoldsAbsolutePath(const QString& text);

// The short (8.3) form of an existing path on Windows; elsewhere the path
// itself while it exists. A path that does not exist gives the empty text.
QString GetShortPath(const QString& path);

// opening + text + the matching closing mark: () [] {} <>, else the opening again.
QString EncloseText(const QString& text, const QString& opening);
QString QuoteText(const QString& text);
QString PickText(const QString& first, bool condition, const QString& second);

// n := n + 1; at the largest 32-bit value n stays and an overflow is reported.
MaybeFailure IncrementCounter(qint32& n);

// Tests inject write faults: the hook is asked, before each piece of a file
// is written, how many of its bytes still fit; fewer than all makes the write
// fail after those bytes as on a full disk. An empty hook removes it.
using WriteFaultHook = std::function<qint64(const QString& path, qint64 offset, qint64 length)>;
void SetWriteFaultForTesting(WriteFaultHook hook);

// Clears read-only, hidden and system attributes where the system has them,
// so that an existing file can be replaced.
void MakeFileReplaceable(const QString& path);

} // namespace velkaro

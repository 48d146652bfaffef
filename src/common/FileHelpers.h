#pragma once

#include "Failure.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

class QFileDevice;

namespace velkaro {

enum class WriteMode
{
    Replace = 0,     // replace an existing file
    KeepExisting = 1 // keep an existing file, write under the first free "name(n).ext"
};

// Where the writes below put each piece of a file's new content, in the
// temporary file beside it. The system's disk writes it there; a disk handed
// in instead may fill up or change under the write.
class Disk
{
public:
    virtual ~Disk() = default;
    // Writes the whole piece to the file that will become path.
    virtual MaybeFailure writePiece(QFileDevice& file, const QString& path,
                                    QByteArrayView piece) = 0;
};

// The computer's file system, for the writes that are handed no other disk.
Disk& SystemDisk();

// Writes the text as the whole content of the file, in Windows-1252, with no
// byte-order mark and no line end added. The new content goes to a temporary
// file in the same folder first and replaces the old file only when it is
// complete, so a failure leaves the old file as it was.
MaybeFailure WriteWholeFile(const QString& path, const QString& text,
                            WriteMode mode = WriteMode::Replace, Disk& disk = SystemDisk());

// Replaces the file with exactly these bytes, or leaves it untouched.
MaybeFailure WriteFileAtomically(const QString& path, const QByteArray& bytes,
                                 Disk& disk = SystemDisk());

// Copies source over destination, replacing an existing file without asking;
// on failure the destination is as it was before.
MaybeFailure CopyFileAtomically(const QString& source, const QString& destination,
                                Disk& disk = SystemDisk());

// True when a plain file matches the path: hidden and system files and
// folders do not count. "*" and "?" in the file name are wildcards.
bool FileExists(const QString& path);

// The folder of the running program's file, with a closing separator.
QString ProgramFolder();

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

// Clears read-only, hidden and system attributes where the system has them,
// so that an existing file can be replaced.
void MakeFileReplaceable(const QString& path);

} // namespace velkaro

#pragma once

// What the image writer needs of the system it runs on, for Linux
// (LocalSystemPosix.cpp) and for Windows (LocalSystemWindows.cpp): folders
// listed, files told apart, files read and written by position, the
// temporary file put in the target's place, and Ctrl+C.
//
// Paths are bytes with '/' between the names: on Linux as the file system
// holds them, on Windows the UTF-8 of the wide names, so that every name
// reaches the disc whatever the ANSI code page is. Files are C library
// descriptors on both. Failures give the system's error number (errno's
// values, also on Windows).

#include <QByteArray>
#include <QHashFunctions>
#include <QList>
#include <QString>
#include <QStringList>
#include <csignal>
#include <functional>

namespace velkaro::image {

QByteArray LocalPath(const QString& path);
QString LocalPathText(const QByteArray& path);

// A file's identity: a file reached twice (hard links, links) is one file.
struct FileId
{
    quint64 volume = 0;
    quint64 index = 0;
    friend bool operator==(const FileId&, const FileId&) = default;
};
inline size_t qHash(const FileId& id, size_t seed = 0)
{
    return qHashMulti(seed, id.volume, id.index);
}

struct LocalInfo
{
    bool folder = false; // else a plain file
    qint64 size = 0;
    qint64 modified = 0; // seconds since 1970 (UTC)
    FileId id;
};

// One entry of a local folder that goes onto the disc: files and folders,
// links followed. Other kinds (sockets, devices, links without a target)
// cannot go onto a disc for Windows and are left out.
struct LocalEntry
{
    QByteArray name; // as the file system holds it
    LocalInfo info;  // of what a link leads to
    bool link = false;
};
struct LocalListing
{
    QList<LocalEntry> entries; // sorted by name, so every run adds them alike
    QList<QByteArray> leftOut; // names of what was left out
    int error = 0;
};
LocalListing ListLocalFolder(const QByteArray& path);

// The file or folder at `path`, links followed; 0 or the error number (for
// anything that is neither, ENOENT).
int ReadLocalInfo(const QByteArray& path, LocalInfo* info);

// `path` with every link resolved; empty when it leads nowhere.
QByteArray ResolvedPath(const QByteArray& path);

// A descriptor, or -1 with the error number in `*savedErrno`.
int OpenForReading(const QByteArray& path, int* savedErrno);
void CloseFile(int fd);
// Reads up to `size` bytes at `offset`: the count (0 at the end), or -1
// with the error number in `*savedErrno`.
qint64 ReadAt(int fd, void* buffer, qint64 size, qint64 offset, int* savedErrno);
// Writes all `size` bytes at `offset`; false with the error number in
// `*savedErrno` (a write that takes nothing is a full disk).
bool WriteAll(int fd, const unsigned char* data, qint64 size, qint64 offset, int* savedErrno);
// 0 or the error number.
int FileSizeOf(int fd, qint64* size);
int TruncateFile(int fd, qint64 size);
int SyncFile(int fd);
// The system copies up to `size` bytes between the files itself, moving
// both offsets: the count, or -1 with the error number. ENOSYS where it
// cannot (always on Windows): then the caller reads and writes.
qint64 CopyByKernel(int in, qint64* from, int out, qint64* to, qint64 size, int* savedErrno);

// A new file beside `base`, named `base` with a suffix of its own, for
// reading and writing: 0 with `*fd` and `*path`, or the error number.
int CreateFileBeside(const QByteArray& base, int* fd, QByteArray* path);
// Puts `from` in the place of `to` in one step: 0 or the error number,
// EBUSY when another program holds `to` open.
int PutInPlace(const QByteArray& from, const QByteArray& to);
void RemoveFile(const QByteArray& path);
// The folder's entries, too, must survive a power cut.
void SyncFolder(const QByteArray& path);

// Ctrl+C, and the end of the session or the terminal, set `*flag` to the
// number of the signal (SIGINT for Ctrl+C, SIGTERM otherwise); the writer
// looks at it between pieces.
void CatchStopSignals(volatile std::sig_atomic_t* flag);
// Runs `start` so that threads it starts leave the stop signals to the
// calling thread; gives what `start` gives.
int WithoutStopSignals(const std::function<int()>& start);

bool ErrorIsTerminal();

} // namespace velkaro::image

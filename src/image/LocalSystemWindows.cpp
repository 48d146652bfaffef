// The writer's system calls on Windows: every path through the wide (UTF-16)
// interfaces with the "\\?\" prefix, so that no name depends on the ANSI
// code page and no path is cut at MAX_PATH; files by position through their
// handles.

#include "Failure.h"
#include "LocalSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>
#include <windows.h>

namespace velkaro::image {

namespace {

// "C:/a/b" as "\\?\C:\a\b", "//server/share/a" as "\\?\UNC\server\share\a".
std::wstring WidePath(const QByteArray& path)
{
    QString text = QString::fromUtf8(path);
    text.replace(QLatin1Char('/'), QLatin1Char('\\'));
    QString prefix;
    if (text.startsWith(QLatin1String("\\\\?\\"))) {
        prefix = text.left(4);
        text = text.mid(4);
    } else if (text.startsWith(QLatin1String("\\\\"))) {
        prefix = QStringLiteral("\\\\?\\UNC\\");
        text = text.mid(2);
    } else if (text.size() >= 3 && text.at(1) == QLatin1Char(':') &&
               text.at(2) == QLatin1Char('\\')) {
        prefix = QStringLiteral("\\\\?\\");
    } else {
        return text.toStdWString(); // relative: as it is
    }
    // The prefix turns off Windows' own clean-up of the path.
    QStringList parts = text.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    QString joined = parts.join(QLatin1Char('\\'));
    if (parts.size() == 1 && prefix == QLatin1String("\\\\?\\"))
        joined += QLatin1Char('\\'); // a drive's root: "C:\"
    return (prefix + joined).toStdWString();
}

int LastError()
{
    return CaptureSystemError();
}

qint64 UnixSeconds(qint64 fileTime)
{
    // 100-nanosecond steps since 1601.
    constexpr qint64 Offset = 116444736000000000LL;
    constexpr qint64 Step = 10000000LL;
    const qint64 since1970 = fileTime - Offset;
    return since1970 >= 0 ? since1970 / Step : -((-since1970 + Step - 1) / Step);
}

// File systems without file numbers give 0 for every file: each of them is
// then a file of its own, never merged with another.
FileId IdOf(quint64 volume, quint64 index)
{
    static quint64 unnumbered = 0;
    if (index == 0)
        return {~quint64(0), ++unnumbered};
    return {volume, index};
}

HANDLE HandleOf(int fd)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

OVERLAPPED At(qint64 offset)
{
    OVERLAPPED overlapped = {};
    overlapped.Offset = DWORD(quint64(offset) & 0xffffffffu);
    overlapped.OffsetHigh = DWORD(quint64(offset) >> 32);
    return overlapped;
}

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

void AddEntry(const QByteArray& folder, quint64 volume, const FILE_ID_BOTH_DIR_INFO& item,
              LocalListing* listing)
{
    const QString wide =
        QString::fromWCharArray(item.FileName, int(item.FileNameLength / sizeof(WCHAR)));
    if (wide == QLatin1String(".") || wide == QLatin1String(".."))
        return;
    LocalEntry entry{wide.toUtf8(), {}, false};
    const DWORD attributes = item.FileAttributes;
    bool ok = (attributes & FILE_ATTRIBUTE_DEVICE) == 0;
    if (ok && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        // For a reparse point the list gives its tag instead of the size of
        // extended attributes. What it leads to is what goes onto the disc.
        entry.link =
            item.EaSize == IO_REPARSE_TAG_SYMLINK || item.EaSize == IO_REPARSE_TAG_MOUNT_POINT;
        ok = ReadLocalInfo(folder + '/' + entry.name, &entry.info) == 0;
    } else if (ok) {
        entry.info.folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.info.size = entry.info.folder ? 0 : qint64(item.EndOfFile.QuadPart);
        entry.info.modified = UnixSeconds(item.LastWriteTime.QuadPart);
        entry.info.id = IdOf(volume, quint64(item.FileId.QuadPart));
    }
    if (ok)
        listing->entries.append(entry);
    else
        listing->leftOut.append(entry.name);
}

} // namespace

QByteArray LocalPath(const QString& path)
{
    return QDir::fromNativeSeparators(path).toUtf8();
}

QString LocalPathText(const QByteArray& path)
{
    return QString::fromUtf8(path);
}

LocalListing ListLocalFolder(const QByteArray& path)
{
    LocalListing listing;
    const HANDLE dir = CreateFileW(WidePath(path).c_str(), FILE_LIST_DIRECTORY, ShareAll, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (dir == INVALID_HANDLE_VALUE) {
        listing.error = LastError();
        return listing;
    }
    BY_HANDLE_FILE_INFORMATION own;
    const quint64 volume = GetFileInformationByHandle(dir, &own) ? own.dwVolumeSerialNumber : 0;
    std::vector<quint64> buffer(64 * 1024 / sizeof(quint64)); // entries lie 8-aligned
    while (GetFileInformationByHandleEx(dir, FileIdBothDirectoryInfo, buffer.data(),
                                        DWORD(buffer.size() * sizeof(quint64)))) {
        const auto* at = reinterpret_cast<const unsigned char*>(buffer.data());
        while (true) {
            const auto* item = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
            AddEntry(path, volume, *item, &listing);
            if (item->NextEntryOffset == 0)
                break;
            at += item->NextEntryOffset;
        }
    }
    if (GetLastError() != ERROR_NO_MORE_FILES)
        listing.error = LastError();
    CloseHandle(dir);
    std::sort(listing.entries.begin(), listing.entries.end(),
              [](const LocalEntry& a, const LocalEntry& b) { return a.name < b.name; });
    std::sort(listing.leftOut.begin(), listing.leftOut.end());
    return listing;
}

int ReadLocalInfo(const QByteArray& path, LocalInfo* info)
{
    const HANDLE file = CreateFileW(WidePath(path).c_str(), FILE_READ_ATTRIBUTES, ShareAll, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return LastError();
    BY_HANDLE_FILE_INFORMATION own;
    const bool read = GetFileInformationByHandle(file, &own);
    const int error = read ? 0 : LastError();
    CloseHandle(file);
    if (!read)
        return error;
    if ((own.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0)
        return ENOENT;
    info->folder = (own.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    info->size = info->folder ? 0 : qint64(quint64(own.nFileSizeHigh) << 32 | own.nFileSizeLow);
    info->modified = UnixSeconds(qint64(quint64(own.ftLastWriteTime.dwHighDateTime) << 32 |
                                        own.ftLastWriteTime.dwLowDateTime));
    info->id =
        IdOf(own.dwVolumeSerialNumber, quint64(own.nFileIndexHigh) << 32 | own.nFileIndexLow);
    return 0;
}

QByteArray ResolvedPath(const QByteArray& path)
{
    return LocalPath(QFileInfo(LocalPathText(path)).canonicalFilePath());
}

int OpenForReading(const QByteArray& path, int* savedErrno)
{
    const HANDLE file =
        CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        *savedErrno = LastError();
        return -1;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(file);
        *savedErrno = EMFILE;
    }
    return fd;
}

void CloseFile(int fd)
{
    _close(fd);
}

qint64 ReadAt(int fd, void* buffer, qint64 size, qint64 offset, int* savedErrno)
{
    OVERLAPPED at = At(offset);
    DWORD got = 0;
    if (ReadFile(HandleOf(fd), buffer, DWORD(qMin<qint64>(size, 1 << 30)), &got, &at))
        return got;
    if (GetLastError() == ERROR_HANDLE_EOF)
        return 0;
    *savedErrno = LastError();
    return -1;
}

bool WriteAll(int fd, const unsigned char* data, qint64 size, qint64 offset, int* savedErrno)
{
    while (size > 0) {
        OVERLAPPED at = At(offset);
        DWORD put = 0;
        if (!WriteFile(HandleOf(fd), data, DWORD(qMin<qint64>(size, 1 << 30)), &put, &at)) {
            *savedErrno = LastError();
            return false;
        }
        if (put == 0) {
            *savedErrno = ENOSPC;
            return false;
        }
        data += put;
        size -= put;
        offset += put;
    }
    return true;
}

int FileSizeOf(int fd, qint64* size)
{
    LARGE_INTEGER length;
    if (!GetFileSizeEx(HandleOf(fd), &length))
        return LastError();
    *size = qint64(length.QuadPart);
    return 0;
}

int TruncateFile(int fd, qint64 size)
{
    FILE_END_OF_FILE_INFO end;
    end.EndOfFile.QuadPart = size;
    return SetFileInformationByHandle(HandleOf(fd), FileEndOfFileInfo, &end, sizeof end)
               ? 0
               : LastError();
}

int SyncFile(int fd)
{
    return FlushFileBuffers(HandleOf(fd)) ? 0 : LastError();
}

qint64 CopyByKernel(int, qint64*, int, qint64*, qint64, int* savedErrno)
{
    *savedErrno = ENOSYS;
    return -1;
}

int CreateFileBeside(const QByteArray& base, int* fd, QByteArray* path)
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        QByteArray name = base + '.';
        for (int i = 0; i < 6; ++i)
            name += letters[QRandomGenerator::system()->bounded(int(sizeof letters - 1))];
        const HANDLE file =
            CreateFileW(WidePath(name).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                        nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            if (GetLastError() == ERROR_FILE_EXISTS)
                continue;
            return LastError();
        }
        *fd = _open_osfhandle(reinterpret_cast<intptr_t>(file), _O_RDWR | _O_BINARY);
        if (*fd < 0) {
            CloseHandle(file);
            DeleteFileW(WidePath(name).c_str());
            return EMFILE;
        }
        *path = name;
        return 0;
    }
    return EEXIST;
}

int PutInPlace(const QByteArray& from, const QByteArray& to)
{
    const std::wstring target = WidePath(to);
    if (MoveFileExW(WidePath(from).c_str(), target.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return 0;
    const DWORD error = GetLastError();
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION)
        return EBUSY;
    if (error == ERROR_ACCESS_DENIED) {
        // Denied also when another program has the target open: it is,
        // if the target cannot be opened for deleting beside that program.
        const HANDLE file =
            CreateFileW(target.c_str(), DELETE, ShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return GetLastError() == ERROR_SHARING_VIOLATION ? EBUSY : EACCES;
        CloseHandle(file);
        return EACCES;
    }
    SetLastError(error);
    return LastError();
}

void RemoveFile(const QByteArray& path)
{
    DeleteFileW(WidePath(path).c_str());
}

void SyncFolder(const QByteArray&)
{
    // MOVEFILE_WRITE_THROUGH has written the new entry.
}

namespace {

volatile std::sig_atomic_t* g_stopFlag = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD event)
{
    const bool key = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT;
    *g_stopFlag = key ? SIGINT : SIGTERM;
    if (!key) {
        // Windows ends the process when this returns: the writer has until
        // then to remove its temporary file and exit by itself.
        Sleep(INFINITE);
    }
    return TRUE;
}

} // namespace

void CatchStopSignals(volatile std::sig_atomic_t* flag)
{
    g_stopFlag = flag;
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

int WithoutStopSignals(const std::function<int()>& start)
{
    return start(); // console events come in a thread of their own
}

bool ErrorIsTerminal()
{
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

} // namespace velkaro::image

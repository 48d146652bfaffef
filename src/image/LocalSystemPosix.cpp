// The writer's system calls on Linux: the kernel copies the files' bytes.

#include "LocalSystem.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velkaro::image {

namespace {

bool FromStat(const struct stat& own, LocalInfo* info)
{
    if (!S_ISREG(own.st_mode) && !S_ISDIR(own.st_mode))
        return false;
    info->folder = S_ISDIR(own.st_mode);
    info->size = info->folder ? 0 : qint64(own.st_size);
    info->modified = qint64(own.st_mtime);
    info->id = {quint64(own.st_dev), quint64(own.st_ino)};
    return true;
}

} // namespace

QByteArray LocalPath(const QString& path)
{
    return QFile::encodeName(path);
}

QString LocalPathText(const QByteArray& path)
{
    return QFile::decodeName(path);
}

LocalListing ListLocalFolder(const QByteArray& path)
{
    LocalListing listing;
    DIR* dir = opendir(path.constData());
    if (!dir) {
        listing.error = errno;
        return listing;
    }
    errno = 0;
    while (const dirent* item = readdir(dir)) {
        const QByteArray name(item->d_name);
        if (name == "." || name == "..")
            continue;
        LocalEntry entry{name, {}, item->d_type == DT_LNK};
        const QByteArray entryPath = path + '/' + name;
        struct stat own;
        if (item->d_type == DT_UNKNOWN && lstat(entryPath.constData(), &own) == 0)
            entry.link = S_ISLNK(own.st_mode);
        if (stat(entryPath.constData(), &own) == 0 && FromStat(own, &entry.info))
            listing.entries.append(entry);
        else
            listing.leftOut.append(name);
        errno = 0;
    }
    if (errno != 0)
        listing.error = errno;
    closedir(dir);
    std::sort(listing.entries.begin(), listing.entries.end(),
              [](const LocalEntry& a, const LocalEntry& b) { return a.name < b.name; });
    std::sort(listing.leftOut.begin(), listing.leftOut.end());
    return listing;
}

int ReadLocalInfo(const QByteArray& path, LocalInfo* info)
{
    struct stat own;
    if (stat(path.constData(), &own) != 0)
        return errno;
    return FromStat(own, info) ? 0 : ENOENT;
}

QByteArray ResolvedPath(const QByteArray& path)
{
    char* resolved = realpath(path.constData(), nullptr);
    const QByteArray result(resolved ? resolved : "");
    free(resolved);
    return result;
}

int OpenForReading(const QByteArray& path, int* savedErrno)
{
    const int fd = open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        *savedErrno = errno;
    return fd;
}

void CloseFile(int fd)
{
    close(fd);
}

qint64 ReadAt(int fd, void* buffer, qint64 size, qint64 offset, int* savedErrno)
{
    while (true) {
        const ssize_t n = pread(fd, buffer, size_t(size), off_t(offset));
        if (n >= 0)
            return n;
        if (errno != EINTR) {
            *savedErrno = errno;
            return -1;
        }
    }
}

bool WriteAll(int fd, const unsigned char* data, qint64 size, qint64 offset, int* savedErrno)
{
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size_t(size), off_t(offset));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            *savedErrno = errno;
            return false;
        }
        if (n == 0) {
            *savedErrno = ENOSPC;
            return false;
        }
        data += n;
        size -= n;
        offset += n;
    }
    return true;
}

int FileSizeOf(int fd, qint64* size)
{
    struct stat info;
    if (fstat(fd, &info) != 0)
        return errno;
    *size = qint64(info.st_size);
    return 0;
}

int TruncateFile(int fd, qint64 size)
{
    return ftruncate(fd, off_t(size)) == 0 ? 0 : errno;
}

int SyncFile(int fd)
{
    return fsync(fd) == 0 ? 0 : errno;
}

qint64 CopyByKernel(int in, qint64* from, int out, qint64* to, qint64 size, int* savedErrno)
{
    off_t inAt = off_t(*from);
    off_t outAt = off_t(*to);
    const ssize_t n = copy_file_range(in, &inAt, out, &outAt, size_t(size), 0);
    if (n < 0) {
        *savedErrno = errno;
        return -1;
    }
    *from = inAt;
    *to = outAt;
    return n;
}

int CreateFileBeside(const QByteArray& base, int* fd, QByteArray* path)
{
    QByteArray name = base + ".XXXXXX";
    *fd = mkstemp(name.data());
    if (*fd < 0)
        return errno;
    *path = name;
    // mkstemp makes it private; an image gets the permissions of any new file.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(*fd, 0666 & ~mask);
    return 0;
}

int PutInPlace(const QByteArray& from, const QByteArray& to)
{
    return rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

void RemoveFile(const QByteArray& path)
{
    unlink(path.constData());
}

void SyncFolder(const QByteArray& path)
{
    const int folderFd = open(path.constData(), O_RDONLY | O_DIRECTORY);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
}

namespace {

volatile std::sig_atomic_t* g_stopFlag = nullptr;

void OnStopSignal(int signal)
{
    *g_stopFlag = signal;
}

} // namespace

void CatchStopSignals(volatile std::sig_atomic_t* flag)
{
    g_stopFlag = flag;
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaction(signal, &action, nullptr);
}

int WithoutStopSignals(const std::function<int()>& start)
{
    sigset_t blocked;
    sigset_t previous;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &blocked, &previous);
    const int result = start();
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return result;
}

bool ErrorIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

} // namespace velkaro::image

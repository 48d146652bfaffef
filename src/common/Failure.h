#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace velkaro {

// Stable codes, one per kind of failure. The numbers follow the run-time
// error numbers that Windows users know from message boxes of the era.
enum class FailureCode : qint32
{
    Overflow = 6,
    BadFileName = 52,
    FileNotFound = 53,
    DeviceIo = 57,
    DiskFull = 61,
    PermissionDenied = 70,
    PathFileAccess = 75,
    PathNotFound = 76,
    InvalidPicture = 481,
};

// What a failed platform operation leaves behind: a 32-bit code and a
// description. Operations return it instead of keeping it in global state.
struct Failure
{
    qint32 code = 0;
    QString description;

    static Failure fromCode(FailureCode code);
    static Failure fromCode(FailureCode code, const QString& description);
    bool operator==(const Failure&) const = default;
};

using MaybeFailure = std::optional<Failure>;

// Describes the last failed file-system call in the failure codes above.
// savedErrno is errno right after the call; path names the file concerned.
Failure FailureFromSystemError(int savedErrno, const QString& path);

} // namespace velkaro

namespace velkaro {

// The system's error number of the last failed call, as errno values: errno
// itself on POSIX, the thread's last Windows error mapped onto errno on Windows.
int CaptureSystemError();

} // namespace velkaro

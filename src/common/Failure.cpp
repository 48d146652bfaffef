#include "Failure.h"

#include <QFileInfo>
#include <cerrno>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace velkaro {

namespace {

QString DescriptionOf(FailureCode code)
{
    switch (code) {
    case FailureCode::Overflow:
        return QStringLiteral("Überlauf");
    case FailureCode::BadFileName:
        return QStringLiteral("Dateiname oder -nummer falsch");
    case FailureCode::FileNotFound:
        return QStringLiteral("Datei nicht gefunden");
    case FailureCode::DeviceIo:
        return QStringLiteral("Fehler beim Zugriff auf das Gerät");
    case FailureCode::DiskFull:
        return QStringLiteral("Datenträger voll");
    case FailureCode::PermissionDenied:
        return QStringLiteral("Zugriff verweigert");
    case FailureCode::PathFileAccess:
        return QStringLiteral("Fehler beim Zugriff auf Pfad/Datei");
    case FailureCode::PathNotFound:
        return QStringLiteral("Pfad nicht gefunden");
    case FailureCode::InvalidPicture:
        return QStringLiteral("Ungültiges Bild");
    }
    return QStringLiteral("Unbekannter Fehler");
}

} // namespace

Failure Failure::fromCode(FailureCode code)
{
    return {static_cast<qint32>(code), DescriptionOf(code)};
}

Failure Failure::fromCode(FailureCode code, const QString& description)
{
    return {static_cast<qint32>(code), description};
}

Failure FailureFromSystemError(int savedErrno, const QString& path)
{
    // The state of the disk is a surer guide than errno, which Qt may have
    // overwritten on its way back: look at the folder and the file first.
    const QFileInfo file(path);
    const QFileInfo folder(file.absolutePath());
    if (!folder.exists() || !folder.isDir())
        return Failure::fromCode(FailureCode::PathNotFound);
    if (file.isDir())
        return Failure::fromCode(FailureCode::PathFileAccess);

    switch (savedErrno) {
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return Failure::fromCode(FailureCode::DiskFull);
    case EACCES:
    case EPERM:
    case EROFS:
    case EBUSY:
        return Failure::fromCode(FailureCode::PermissionDenied);
    case ENOENT:
    case ENOTDIR:
        return Failure::fromCode(FailureCode::PathNotFound);
    case ENAMETOOLONG:
    case EINVAL:
        return Failure::fromCode(FailureCode::BadFileName);
    case EIO:
        return Failure::fromCode(FailureCode::DeviceIo);
    default:
        return Failure::fromCode(FailureCode::PathFileAccess);
    }
}

int CaptureSystemError()
{
#ifdef Q_OS_WIN
    switch (GetLastError()) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_ACCESS_DENIED:
        return EACCES;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return EBUSY;
    case ERROR_WRITE_PROTECT:
        return EROFS;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return ENOENT;
    case ERROR_FILENAME_EXCED_RANGE:
        return ENAMETOOLONG;
    case ERROR_INVALID_NAME:
        return EINVAL;
    default:
        return errno;
    }
#else
    return errno;
#endif
}

} // namespace velkaro

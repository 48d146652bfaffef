#include "FileHelpers.h"

#include "Windows1252.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <limits>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace velkaro {

namespace {

constexpr Qt::CaseSensitivity FileNameCase =
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    Qt::CaseInsensitive;
#else
    Qt::CaseSensitive;
#endif

// "*" matches any run of characters, "?" one character; nothing else is special.
bool MatchesWildcard(QStringView name, QStringView pattern)
{
    qsizetype n = 0, p = 0, starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern.at(p) == QLatin1Char('*')) {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern.at(p) == QLatin1Char('?') ||
                    QStringView(name).mid(n, 1).compare(pattern.mid(p, 1), FileNameCase) == 0)) {
            ++n;
            ++p;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern.at(p) == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}

bool IsPlainFile(const QFileInfo& info)
{
    if (!info.exists() || !info.isFile() || info.isHidden())
        return false;
#ifdef Q_OS_WIN
    const DWORD attributes =
        GetFileAttributesW(reinterpret_cast<LPCWSTR>(info.absoluteFilePath().utf16()));
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_SYSTEM))
        return false;
#endif
    return true;
}

MaybeFailure FailureOf(const QString& path)
{
    return FailureFromSystemError(CaptureSystemError(), path);
}

// Picks the first free numbered name for mode KeepExisting.
MaybeFailure NumberedName(QString& path)
{
    const qsizetype lastSep =
        std::max({path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')),
                  path.lastIndexOf(PathSeparator())});
    qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    if (dot <= lastSep) {
        path.append(QLatin1Char('.'));
        dot = path.size() - 1;
    }
    const QString base = path.left(dot);
    const QString extension = path.mid(dot);
    qint32 counter = 0;
    do {
        if (MaybeFailure failure = IncrementCounter(counter))
            return failure;
        path = base + EncloseText(QString::number(counter), QStringLiteral("(")) + extension;
    } while (FileExists(path));
    return std::nullopt;
}

} // namespace

void MakeFileReplaceable(const QString& path)
{
#ifdef Q_OS_WIN
    SetFileAttributesW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16()),
                       FILE_ATTRIBUTE_NORMAL);
#else
    // The replacement takes over the old file's permissions: give it back
    // the owner's write permission, the POSIX form of "not read-only".
    QFile file(path);
    if (file.exists() && !(file.permissions() & QFileDevice::WriteOwner))
        file.setPermissions(file.permissions() | QFileDevice::WriteOwner);
#endif
}

namespace {

class FileSystemDisk final : public Disk
{
public:
    MaybeFailure writePiece(QFileDevice& file, const QString& path, QByteArrayView piece) override
    {
        errno = 0;
        if (file.write(piece.data(), piece.size()) != piece.size())
            return FailureOf(path);
        return std::nullopt;
    }
};

} // namespace

Disk& SystemDisk()
{
    static FileSystemDisk disk;
    return disk;
}

MaybeFailure WriteFileAtomically(const QString& path, const QByteArray& bytes, Disk& disk)
{
    if (QFileInfo(path).isDir())
        return Failure::fromCode(FailureCode::PathFileAccess);
    MakeFileReplaceable(path);

    // Unbuffered: a buffered QSaveFile can lose a write error (a full disk)
    // in its final flush and then commit an empty file over the old one.
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return FailureOf(path);
    if (const MaybeFailure failure = disk.writePiece(file, path, bytes)) {
        file.cancelWriting();
        return failure;
    }
    errno = 0;
    if (!file.commit())
        return FailureOf(path);
    return std::nullopt;
}

MaybeFailure CopyFileAtomically(const QString& source, const QString& destination, Disk& disk)
{
    QFile in(source);
    errno = 0;
    if (!QFileInfo(source).isFile() || !in.open(QIODevice::ReadOnly)) {
        const int error = CaptureSystemError();
        if (!QFileInfo::exists(source))
            return Failure::fromCode(FailureCode::FileNotFound);
        return FailureFromSystemError(error, source);
    }
    if (QFileInfo(destination).isDir())
        return Failure::fromCode(FailureCode::PathFileAccess);
    MakeFileReplaceable(destination);

    QSaveFile out(destination);
    out.setDirectWriteFallback(false);
    errno = 0;
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return FailureOf(destination);
    constexpr qint64 ChunkSize = 256 * 1024;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(ChunkSize);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError) {
            out.cancelWriting();
            return Failure::fromCode(FailureCode::DeviceIo);
        }
        if (const MaybeFailure failure = disk.writePiece(out, destination, chunk)) {
            out.cancelWriting();
            return failure;
        }
    }
    errno = 0;
    if (!out.commit())
        return FailureOf(destination);
    return std::nullopt;
}

MaybeFailure WriteWholeFile(const QString& path, const QString& text, WriteMode mode, Disk& disk)
{
    QString target = path;
    if (mode == WriteMode::KeepExisting && FileExists(target)) {
        if (MaybeFailure failure = NumberedName(target))
            return failure;
    }
    return WriteFileAtomically(target, ToWindows1252(text), disk);
}

bool FileExists(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (!name.contains(QLatin1Char('*')) && !name.contains(QLatin1Char('?')))
        return IsPlainFile(info);

    const QDir folder = info.absoluteDir();
    if (!folder.exists())
        return false;
    const QFileInfoList entries = folder.entryInfoList(QDir::Files | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (MatchesWildcard(entry.fileName(), name) && IsPlainFile(entry))
            return true;
    }
    return false;
}

QString ProgramFolder()
{
    return AddBackslash(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
}

QChar PathSeparator()
{
    return QDir::separator();
}

bool HoldsAbsolutePath(const QString& text)
{
#ifdef Q_OS_WIN
    return text.contains(QStringLiteral(":\\"));
#else
    return text.startsWith(QLatin1Char('/'));
#endif
}

QString AddBackslash(const QString& path)
{
    const QString separator(PathSeparator());
    return path + PickText(separator, !path.endsWith(separator), QString());
}

QString GetShortPath(const QString& path)
{
#ifdef Q_OS_WIN
    const std::wstring longPath = QDir::toNativeSeparators(path).toStdWString();
    const DWORD needed = GetShortPathNameW(longPath.c_str(), nullptr, 0);
    if (needed == 0)
        return QString();
    std::wstring buffer(needed, L'\0');
    const DWORD length = GetShortPathNameW(longPath.c_str(), buffer.data(), needed);
    if (length == 0 || length >= needed)
        return QString();
    buffer.resize(length);
    return QString::fromStdWString(buffer);
#else
    return QFileInfo::exists(path) ? path : QString();
#endif
}

QString EncloseText(const QString& text, const QString& opening)
{
    QString closing = opening;
    if (opening == QLatin1String("("))
        closing = QStringLiteral(")");
    else if (opening == QLatin1String("["))
        closing = QStringLiteral("]");
    else if (opening == QLatin1String("{"))
        closing = QStringLiteral("}");
    else if (opening == QLatin1String("<"))
        closing = QStringLiteral(">");
    return opening + text + closing;
}

QString QuoteText(const QString& text)
{
    return EncloseText(text, QStringLiteral("\""));
}

QString PickText(const QString& first, bool condition, const QString& second)
{
    return condition ? first : second;
}

MaybeFailure IncrementCounter(qint32& n)
{
    if (n == std::numeric_limits<qint32>::max())
        return Failure::fromCode(FailureCode::Overflow);
    ++n;
    return std::nullopt;
}

} // namespace velkaro

#pragma once

// Shared pieces of the fuzz targets: the Qt application some routines need,
// a check that turns a broken promise into a crash libFuzzer records, and
// small readers that cut the fuzzer's bytes into the inputs of a routine.

#include <QApplication>
#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QList>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace velkaro::fuzzing {

// Qt's warnings about the broken files it is fed would drown the fuzzer's
// own output and slow it down; the targets check results, not warnings.
inline void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        std::abort();
    }
}

// A widget application on the offscreen platform, made once per process and
// never destroyed: its destructor would run among the exit handlers, after
// parts of Qt it relies on are already gone.
inline void EnsureApplication()
{
    static QApplication* app = nullptr;
    if (app)
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietMessages);
    static int argc = 1;
    static char name[] = "velkaro-fuzz";
    static char* argv[] = {name, nullptr};
    app = new QApplication(argc, argv);
}

[[noreturn]] inline void Broken(const char* what, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: broken promise: %s\n", file, line, what);
    std::abort();
}

// Printable form of a text for the failure report.
inline QByteArray Shown(const QString& text)
{
    QByteArray out;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7f && u != '\\')
            out += char(u);
        else
            out += "\\u" + QByteArray::number(u, 16).rightJustified(4, '0');
    }
    return out;
}

// The fuzzer's bytes as the pieces of one input, cut at byte 0x01. Each
// piece reads as UTF-8, so that umlauts and invalid sequences both occur.
inline QList<QString> Pieces(const uint8_t* data, size_t size)
{
    QList<QString> pieces;
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    for (const QByteArray& piece : bytes.split('\x01'))
        pieces.append(QString::fromUtf8(piece));
    return pieces;
}

// Writes a settings file for the next QSettings to read. QSettings keeps
// what it read of a file and reads it again only when its size or time
// changed; a time of its own for every write makes the change certain, and
// one file name for all runs keeps Qt's cache of files from growing.
inline bool WriteSettingsFile(const QString& path, const QByteArray& bytes)
{
    static qint64 writes = 0;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return false;
    const QDateTime stamp = QDateTime::fromSecsSinceEpoch(1'000'000'000 + ++writes);
    return file.setFileTime(stamp, QFileDevice::FileModificationTime);
}

inline QString PieceAt(const QList<QString>& pieces, qsizetype i)
{
    return i < pieces.size() ? pieces.at(i) : QString();
}

} // namespace velkaro::fuzzing

// Like assert(), but also in release builds and with the condition's text.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::velkaro::fuzzing::Broken(#condition, __FILE__, __LINE__);                            \
    } while (false)

// The same with a text that says what was being checked.
#define FUZZ_CHECK_MSG(condition, message)                                                         \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s\n", QByteArray(message).constData());                         \
            ::velkaro::fuzzing::Broken(#condition, __FILE__, __LINE__);                            \
        }                                                                                          \
    } while (false)

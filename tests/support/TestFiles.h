#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTest>

namespace velkaro::test {

// The whole content of a file, or "<missing>" when it cannot be read, so that
// a comparison with the expected bytes says what went wrong.
inline QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Puts exactly these bytes into the file; fails the running test otherwise.
inline void WriteRaw(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Makes the file with its folders and a little HTML in it.
inline void MakeFile(const QString& path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    WriteRaw(path, "<html></html>");
}

// The path with the system's own separators, as the program holds it.
inline QString Native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace velkaro::test

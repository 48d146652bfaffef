#pragma once

#include <QByteArray>
#include <QFile>
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

} // namespace velkaro::test

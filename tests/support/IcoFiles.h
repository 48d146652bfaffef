#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QList>
#include <QtEndian>

namespace velkaro::testing {

// A picture of the given size in one colour, so that a test can tell which
// of several pictures was taken.
inline QImage SolidImage(int size, QRgb colour)
{
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// An ICO file holding the given pictures in this order. Qt's ICO writer
// writes one picture per file; the entries of several such files are joined
// under one directory.
inline QByteArray IcoBytes(const QList<QImage>& images)
{
    constexpr int HeaderSize = 6;
    constexpr int EntrySize = 16;
    QList<QByteArray> entries;
    QList<QByteArray> data;
    for (const QImage& image : images) {
        QByteArray single;
        QBuffer buffer(&single);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "ico");
        if (!writer.write(image))
            return {};
        const QByteArray entry = single.mid(HeaderSize, EntrySize);
        const auto size = qFromLittleEndian<quint32>(entry.constData() + 8);
        const auto offset = qFromLittleEndian<quint32>(entry.constData() + 12);
        entries.append(entry);
        data.append(single.mid(offset, size));
    }
    QByteArray ico(HeaderSize, '\0');
    qToLittleEndian<quint16>(1, ico.data() + 2);
    qToLittleEndian<quint16>(quint16(images.size()), ico.data() + 4);
    quint32 offset = HeaderSize + EntrySize * quint32(images.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        QByteArray entry = entries.at(i);
        qToLittleEndian<quint32>(offset, entry.data() + 12);
        ico.append(entry);
        offset += quint32(data.at(i).size());
    }
    for (const QByteArray& d : data)
        ico.append(d);
    return ico;
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace velkaro::testing

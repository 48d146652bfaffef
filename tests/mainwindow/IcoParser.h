#pragma once

// A reader of Windows icon files for the tests, written from the format and
// apart from the program's code, so that the two do not share a mistake.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QtEndian>

namespace velkaro::test {

struct IcoImage
{
    int width = 0;
    int height = 0;
    int bitCount = 0;
    QList<QRgb> palette; // 4-bit images
    QImage pixels;       // ARGB32, top row first; 4-bit: palette colour, alpha 255
    QList<bool> andMask; // true = transparent, row by row from the top
    bool masked(int x, int y) const { return andMask.at(y * width + x); }
};

struct IcoFile
{
    QString error; // empty when the file is valid
    QList<IcoImage> images;
};

inline quint16 U16(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

inline quint32 U32(const QByteArray& b, qsizetype at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}

inline IcoFile ParseIco(const QByteArray& file)
{
    IcoFile result;
    auto fail = [&](const QString& why) {
        result.error = why;
        result.images.clear();
        return result;
    };
    if (file.size() < 6 || U16(file, 0) != 0 || U16(file, 2) != 1)
        return fail("no ICONDIR of an icon");
    const int count = U16(file, 4);
    if (count == 0 || file.size() < 6 + 16 * count)
        return fail("directory is empty or cut off");
    for (int i = 0; i < count; ++i) {
        const qsizetype e = 6 + 16 * i;
        IcoImage image;
        image.width = static_cast<uchar>(file[e]) ? static_cast<uchar>(file[e]) : 256;
        image.height = static_cast<uchar>(file[e + 1]) ? static_cast<uchar>(file[e + 1]) : 256;
        const int colours = static_cast<uchar>(file[e + 2]);
        image.bitCount = U16(file, e + 6);
        const quint32 size = U32(file, e + 8);
        const quint32 offset = U32(file, e + 12);
        if (offset + size > static_cast<quint32>(file.size()))
            return fail(QStringLiteral("image %1 lies outside the file").arg(i));
        const qsizetype h = offset;
        if (U32(file, h) != 40)
            return fail(QStringLiteral("image %1 has no BITMAPINFOHEADER").arg(i));
        if (static_cast<int>(U32(file, h + 4)) != image.width ||
            static_cast<int>(U32(file, h + 8)) != 2 * image.height)
            return fail(QStringLiteral("image %1: header size differs from directory").arg(i));
        if (U16(file, h + 12) != 1 || U16(file, h + 14) != image.bitCount || U32(file, h + 16) != 0)
            return fail(QStringLiteral("image %1: planes, bit count or compression wrong").arg(i));
        const int bits = image.bitCount;
        if (bits != 4 && bits != 32)
            return fail(QStringLiteral("image %1: %2 bits not expected").arg(i).arg(bits));
        if ((bits == 4 && colours != 16) || (bits == 32 && colours != 0))
            return fail(QStringLiteral("image %1: colour count %2").arg(i).arg(colours));
        const int paletteSize = bits == 4 ? 16 : 0;
        const int xorRow = ((image.width * bits + 31) / 32) * 4;
        const int andRow = ((image.width + 31) / 32) * 4;
        const qsizetype pixelsAt = h + 40 + 4 * paletteSize;
        const qsizetype maskAt = pixelsAt + static_cast<qsizetype>(xorRow) * image.height;
        if (maskAt + static_cast<qsizetype>(andRow) * image.height != offset + size)
            return fail(QStringLiteral("image %1: size in directory does not fit its data").arg(i));
        for (int p = 0; p < paletteSize; ++p) {
            const qsizetype c = h + 40 + 4 * p;
            image.palette.append(qRgb(static_cast<uchar>(file[c + 2]),
                                      static_cast<uchar>(file[c + 1]),
                                      static_cast<uchar>(file[c])));
        }
        image.pixels = QImage(image.width, image.height, QImage::Format_ARGB32);
        for (int y = 0; y < image.height; ++y) {
            const qsizetype row = pixelsAt + static_cast<qsizetype>(image.height - 1 - y) * xorRow;
            const qsizetype maskRow =
                maskAt + static_cast<qsizetype>(image.height - 1 - y) * andRow;
            for (int x = 0; x < image.width; ++x) {
                if (bits == 4) {
                    const uchar byte = static_cast<uchar>(file[row + x / 2]);
                    image.pixels.setPixel(x, y, image.palette.at(x % 2 ? byte & 0x0F : byte >> 4));
                } else {
                    image.pixels.setPixel(x, y, U32(file, row + 4 * x));
                }
                const uchar maskByte = static_cast<uchar>(file[maskRow + x / 8]);
                image.andMask.append((maskByte & (0x80 >> (x % 8))) != 0);
            }
        }
        result.images.append(image);
    }
    return result;
}

// The first image of the given size and depth, or nullptr.
inline const IcoImage* FindImage(const IcoFile& file, int size, int bits)
{
    for (const IcoImage& image : file.images)
        if (image.width == size && image.height == size && image.bitCount == bits)
            return &image;
    return nullptr;
}

} // namespace velkaro::test

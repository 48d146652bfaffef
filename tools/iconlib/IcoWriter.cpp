#include "IcoWriter.h"

#include <QtEndian>

namespace velkaro::iconlib {

namespace {

void Put16(QByteArray& out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void Put32(QByteArray& out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

int RowBytes(int width, int bitsPerPixel)
{
    return ((width * bitsPerPixel + 31) / 32) * 4;
}

void PutInfoHeader(QByteArray& out, int width, int height, int bitsPerPixel, int colours)
{
    const int imageBytes = (RowBytes(width, bitsPerPixel) + RowBytes(width, 1)) * height;
    Put32(out, 40);
    Put32(out, static_cast<quint32>(width));
    Put32(out, static_cast<quint32>(height * 2)); // the XOR image and the AND mask
    Put16(out, 1);
    Put16(out, static_cast<quint16>(bitsPerPixel));
    Put32(out, 0); // BI_RGB
    Put32(out, static_cast<quint32>(imageBytes));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, static_cast<quint32>(colours));
    Put32(out, 0);
}

template <typename IsTransparent>
void PutAndMask(QByteArray& out, int width, int height, IsTransparent isTransparent)
{
    const int rowBytes = RowBytes(width, 1);
    for (int y = height - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < width; ++x)
            if (isTransparent(x, y))
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
        out.append(row);
    }
}

QByteArray IndexedDib(const IndexedImage& image)
{
    QByteArray out;
    PutInfoHeader(out, image.width, image.height, 4, 16);
    for (QRgb c : WindowsPalette) {
        out.append(static_cast<char>(qBlue(c)));
        out.append(static_cast<char>(qGreen(c)));
        out.append(static_cast<char>(qRed(c)));
        out.append('\0');
    }
    const int rowBytes = RowBytes(image.width, 4);
    for (int y = image.height - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < image.width; ++x) {
            // Transparent pixels are black in the XOR image, so that the
            // AND mask leaves the screen as it was.
            const int value = image.isTransparent(x, y) ? 0 : image.at(x, y);
            const int shift = (x % 2 == 0) ? 4 : 0;
            row[x / 2] = static_cast<char>(row[x / 2] | (value << shift));
        }
        out.append(row);
    }
    PutAndMask(out, image.width, image.height,
               [&](int x, int y) { return image.isTransparent(x, y); });
    return out;
}

QByteArray TrueColourDib(const QImage& picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    QByteArray out;
    PutInfoHeader(out, image.width(), image.height(), 32, 0);
    for (int y = image.height() - 1; y >= 0; --y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = qAlpha(line[x]) == 0 ? 0 : line[x];
            Put32(out, c); // B, G, R, A in file order
        }
    }
    PutAndMask(out, image.width(), image.height(), [&](int x, int y) {
        return qAlpha(reinterpret_cast<const QRgb*>(image.constScanLine(y))[x]) < 128;
    });
    return out;
}

} // namespace

QByteArray WriteIco(const std::vector<IcoImage>& images)
{
    std::vector<QByteArray> dibs;
    std::vector<int> widths, heights, depths;
    for (const IcoImage& image : images) {
        if (const auto* indexed = std::get_if<IndexedImage>(&image)) {
            dibs.push_back(IndexedDib(*indexed));
            widths.push_back(indexed->width);
            heights.push_back(indexed->height);
            depths.push_back(4);
        } else {
            const QImage& picture = std::get<QImage>(image);
            dibs.push_back(TrueColourDib(picture));
            widths.push_back(picture.width());
            heights.push_back(picture.height());
            depths.push_back(32);
        }
    }

    QByteArray out;
    Put16(out, 0);
    Put16(out, 1); // icon, not cursor
    Put16(out, static_cast<quint16>(dibs.size()));
    quint32 offset = static_cast<quint32>(6 + 16 * dibs.size());
    for (size_t i = 0; i < dibs.size(); ++i) {
        out.append(static_cast<char>(widths[i] >= 256 ? 0 : widths[i]));
        out.append(static_cast<char>(heights[i] >= 256 ? 0 : heights[i]));
        out.append(static_cast<char>(depths[i] == 4 ? 16 : 0)); // colours in the palette
        out.append('\0');
        Put16(out, 1);
        Put16(out, static_cast<quint16>(depths[i]));
        Put32(out, static_cast<quint32>(dibs[i].size()));
        Put32(out, offset);
        offset += static_cast<quint32>(dibs[i].size());
    }
    for (const QByteArray& dib : dibs)
        out.append(dib);
    return out;
}

} // namespace velkaro::iconlib

#include "IconReader.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>
#include <algorithm>

namespace velkaro {

namespace {

// The colour depth a picture had in its file; Qt hands every ICO entry out
// as 32-bit, but keeps the original in this text key.
int OriginalDepth(const QImage& image)
{
    bool ok = false;
    const int depth = image.text(QStringLiteral("_q_icoOrigDepth")).toInt(&ok);
    return ok ? depth : image.depth();
}

bool IsBetterPicture(const QImage& candidate, const QImage& chosen)
{
    if (chosen.isNull())
        return true;
    const auto is32 = [](const QImage& image) { return image.size() == QSize(32, 32); };
    if (is32(candidate) != is32(chosen))
        return is32(candidate);
    const qint64 candidateArea = qint64(candidate.width()) * candidate.height();
    const qint64 chosenArea = qint64(chosen.width()) * chosen.height();
    if (candidateArea != chosenArea)
        return candidateArea > chosenArea;
    return OriginalDepth(candidate) > OriginalDepth(chosen);
}

quint16 U16(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 U32(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

constexpr qsizetype IcoHeaderSize = 6;
constexpr qsizetype IcoEntrySize = 16;
constexpr qsizetype BitmapHeaderSize = 40;

// The 32 x 32 picture in 32 bits of an ICO file, read straight from its
// bytes (bottom-up rows of B, G, R, A), as Qt's reader gives it. Every icon
// of the library has one; reading it this way needs no image plug-in and
// decodes nothing else. Null when the file has no such picture, when a
// 32 x 32 picture of unknown depth comes first, or when it is stored
// another way (a PNG, a compressed bitmap): Qt's reader decides then.
QImage ReadTrueColour32(const QByteArray& file)
{
    if (file.size() < IcoHeaderSize || U16(file, 0) != 0 || U16(file, 2) != 1)
        return {};
    const int entries = U16(file, 4);
    if (IcoHeaderSize + IcoEntrySize * entries > file.size())
        return {};
    for (int i = 0; i < entries; ++i) {
        const qsizetype entry = IcoHeaderSize + IcoEntrySize * i;
        const auto width = static_cast<uchar>(file.at(entry));
        const auto height = static_cast<uchar>(file.at(entry + 1));
        const int bits = U16(file, entry + 6);
        if (width != 32 || height != 32 || (bits != 0 && bits != 32))
            continue;
        if (bits == 0)
            return {};
        const qsizetype offset = U32(file, entry + 12);
        constexpr int Side = 32;
        const qsizetype pixels = offset + BitmapHeaderSize;
        if (pixels + 4 * Side * Side > file.size() || U32(file, offset) != BitmapHeaderSize ||
            qint32(U32(file, offset + 4)) != Side || qint32(U32(file, offset + 8)) != 2 * Side ||
            U16(file, offset + 14) != 32 || U32(file, offset + 16) != 0)
            return {};
        QImage image(Side, Side, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < Side; ++y) {
            const qsizetype row = pixels + 4 * Side * (Side - 1 - y);
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < Side; ++x)
                line[x] = qPremultiply(U32(file, row + 4 * x));
        }
        return image;
    }
    return {};
}

QImage ReadWithQt(const QByteArray& fileBytes)
{
    QBuffer buffer;
    buffer.setData(fileBytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // The header may claim far more pictures than the file holds (an ICO
    // directory counts up to 65535), and trying each one costs time. Every
    // picture takes some bytes of its own (an ICO entry 16, a GIF frame more
    // than 8), so no more are tried than the file has room for.
    constexpr qsizetype MinBytesPerPicture = 8;
    const qsizetype room = std::max<qsizetype>(1, fileBytes.size() / MinBytesPerPicture);
    const int count = int(std::clamp<qsizetype>(reader.imageCount(), 1, room));
    QImage chosen;
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (!image.isNull() && IsBetterPicture(image, chosen))
            chosen = image;
    }
    return chosen;
}

} // namespace

QImage ReadIconPicture(const QByteArray& fileBytes)
{
    const QImage trueColour = ReadTrueColour32(fileBytes);
    return trueColour.isNull() ? ReadWithQt(fileBytes) : trueColour;
}

} // namespace velkaro

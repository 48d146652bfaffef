#include "IconLibrary.h"

#include <QBuffer>
#include <QImageReader>
#include <QPixmap>
#include <QResource>
#include <QtEndian>
#include <atomic>

namespace velkaro {

namespace {

std::atomic<bool> libraryLoaded{false};

// The stored order of the images in an icon file, by its directory: which
// entry is the 32 x 32 image in 32 bits, and which the first 32 x 32 one.
struct DirectoryChoice
{
    int trueColour32 = -1;
    int any32 = -1;
};

DirectoryChoice ReadDirectory(const QByteArray& file)
{
    DirectoryChoice choice;
    if (file.size() < 6)
        return choice;
    const auto* data = reinterpret_cast<const uchar*>(file.constData());
    const int entries = qFromLittleEndian<quint16>(data + 4);
    for (int i = 0; i < entries && 6 + 16 * (i + 1) <= file.size(); ++i) {
        const uchar* entry = data + 6 + 16 * i;
        const int width = entry[0] == 0 ? 256 : entry[0];
        const int bits = qFromLittleEndian<quint16>(entry + 6);
        if (width != 32)
            continue;
        if (choice.any32 < 0)
            choice.any32 = i;
        if (bits == 32 && choice.trueColour32 < 0)
            choice.trueColour32 = i;
    }
    return choice;
}

// A 32-bit BI_RGB image of an icon file: bottom-up rows of B, G, R, A.
// The library's own icons take this way; it needs no image plug-in.
QImage DecodeTrueColourImage(const QByteArray& file, int index)
{
    const auto* data = reinterpret_cast<const uchar*>(file.constData());
    const uchar* entry = data + 6 + 16 * index;
    const qsizetype offset = qFromLittleEndian<quint32>(entry + 12);
    const qsizetype pixels = offset + 40;
    const int width = 32, height = 32;
    if (offset < 0 || pixels + 4 * width * height > file.size() ||
        qFromLittleEndian<quint32>(data + offset) != 40 ||
        qFromLittleEndian<qint32>(data + offset + 4) != width ||
        qFromLittleEndian<qint32>(data + offset + 8) != 2 * height ||
        qFromLittleEndian<quint16>(data + offset + 14) != 32 ||
        qFromLittleEndian<quint32>(data + offset + 16) != 0)
        return {};
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < height; ++y) {
        const uchar* row = data + pixels + 4 * width * (height - 1 - y);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qPremultiply(qFromLittleEndian<quint32>(row + 4 * x));
    }
    return image;
}

} // namespace

QImage DecodeIconPicture(const QByteArray& iconFile)
{
    const DirectoryChoice choice = ReadDirectory(iconFile);
    if (choice.trueColour32 >= 0) {
        const QImage image = DecodeTrueColourImage(iconFile, choice.trueColour32);
        if (!image.isNull())
            return image;
    }
    // Anything else (a PNG entry, a compressed DIB) is left to Qt's reader.
    const int wanted = choice.trueColour32 >= 0 ? choice.trueColour32 : std::max(0, choice.any32);
    QBuffer buffer;
    buffer.setData(iconFile);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    if (wanted > 0 && !reader.jumpToImage(wanted))
        return {};
    return reader.read().convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QString IconLibrary::resourcePath(int n)
{
    return QStringLiteral(":/iconlib/%1.ico").arg(n, 3, 10, QLatin1Char('0'));
}

IconLibrary::IconLibrary()
{
    // The icons are numbered without gaps; the first missing number ends the library.
    for (int n = 1;; ++n) {
        const QResource resource(resourcePath(n));
        if (!resource.isValid())
            break;
        Entry entry;
        // Uncompressed resources are read where they lie in the program.
        entry.fileBytes =
            resource.compressionAlgorithm() == QResource::NoCompression
                ? QByteArray::fromRawData(reinterpret_cast<const char*>(resource.data()),
                                          static_cast<qsizetype>(resource.size()))
                : resource.uncompressedData();
        entry.picture = DecodeIconPicture(entry.fileBytes);
        m_entries.push_back(std::move(entry));
    }
    libraryLoaded = true;
}

const IconLibrary& IconLibrary::instance()
{
    static const IconLibrary library;
    return library;
}

bool IconLibrary::isLoaded()
{
    return libraryLoaded;
}

const IconLibrary::Entry* IconLibrary::entry(int n) const
{
    if (n < 1 || n > count())
        return nullptr;
    return &m_entries[static_cast<size_t>(n - 1)];
}

QImage IconLibrary::picture(int n) const
{
    const Entry* e = entry(n);
    return e ? e->picture : QImage();
}

QByteArray IconLibrary::fileBytes(int n) const
{
    const Entry* e = entry(n);
    return e ? e->fileBytes : QByteArray();
}

QIcon IconLibrary::icon(int n) const
{
    const Entry* e = entry(n);
    if (!e)
        return {};
    if (e->icon.isNull())
        e->icon = QIcon(QPixmap::fromImage(e->picture));
    return e->icon;
}

} // namespace velkaro

// Every icon of the library as the program carries it: a valid Windows icon
// with the images old and new Windows versions need, all of them different.

#include "IcoParser.h"
#include "IconLibrary.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QImageReader>
#include <QSet>
#include <QtTest>

using namespace velkaro;
using namespace velkaro::test;

class IconLibraryFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void everyIconIsAValidIconWithItsFourImages();
    void programShowsTheTrueColourImageOfEachIcon();
    void manifestNamesSourceAndLicenceOfEveryIcon();
};

namespace {

constexpr int LibrarySize = 511;

const QList<QRgb> WindowsPalette = {
    qRgb(0x00, 0x00, 0x00), qRgb(0x80, 0x00, 0x00), qRgb(0x00, 0x80, 0x00), qRgb(0x80, 0x80, 0x00),
    qRgb(0x00, 0x00, 0x80), qRgb(0x80, 0x00, 0x80), qRgb(0x00, 0x80, 0x80), qRgb(0xC0, 0xC0, 0xC0),
    qRgb(0x80, 0x80, 0x80), qRgb(0xFF, 0x00, 0x00), qRgb(0x00, 0xFF, 0x00), qRgb(0xFF, 0xFF, 0x00),
    qRgb(0x00, 0x00, 0xFF), qRgb(0xFF, 0x00, 0xFF), qRgb(0x00, 0xFF, 0xFF), qRgb(0xFF, 0xFF, 0xFF),
};

QByteArray ReadResource(int n)
{
    QFile file(IconLibrary::resourcePath(n));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Digest(const QImage& image, const QList<bool>& mask)
{
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = mask.at(y * image.width() + x) ? 0 : image.pixel(x, y);
            hash.addData(QByteArrayView(reinterpret_cast<const char*>(&c), sizeof c));
        }
    return hash.result();
}

} // namespace

void IconLibraryFilesTest::everyIconIsAValidIconWithItsFourImages()
{
    QVERIFY2(ReadResource(LibrarySize + 1).isEmpty(), "the library has more than 511 icons");
    QHash<QByteArray, int> trueColourSeen, sixteenSeen;
    QSet<QRgb> coloursUsed;
    int colourful = 0;
    for (int n = 1; n <= LibrarySize; ++n) {
        const QByteArray bytes = ReadResource(n);
        QVERIFY2(!bytes.isEmpty(), qPrintable(QStringLiteral("icon %1 is missing").arg(n)));
        const IcoFile ico = ParseIco(bytes);
        const QString where = QStringLiteral("icon %1: ").arg(n);
        QVERIFY2(ico.error.isEmpty(), qPrintable(where + ico.error));

        const IcoImage* four32 = FindImage(ico, 32, 4);
        const IcoImage* four16 = FindImage(ico, 16, 4);
        const IcoImage* true32 = FindImage(ico, 32, 32);
        const IcoImage* true48 = FindImage(ico, 48, 32);
        QVERIFY2(four32 && four16 && true32 && true48,
                 qPrintable(where + "lacks one of 32/4, 16/4, 32/32, 48/32"));
        // Windows 3.x and 95 pick the first image they can show.
        QCOMPARE(ico.images.first().bitCount, 4);
        QCOMPARE(four32->palette, WindowsPalette);
        QCOMPARE(four16->palette, WindowsPalette);

        // The AND mask must agree with the alpha channel, else the old and
        // the new image of the same picture show different outlines.
        int opaque = 0;
        QSet<QRgb> colours;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const bool transparent = qAlpha(true32->pixels.pixel(x, y)) < 128;
                QVERIFY2(
                    true32->masked(x, y) == transparent,
                    qPrintable(where + QStringLiteral("32-bit mask wrong at %1,%2").arg(x).arg(y)));
                QVERIFY2(four32->masked(x, y) == transparent,
                         qPrintable(where + QStringLiteral("16-colour mask differs from the "
                                                           "32-bit outline at %1,%2")
                                                .arg(x)
                                                .arg(y)));
                if (!transparent) {
                    ++opaque;
                    colours.insert(four32->pixels.pixel(x, y));
                } else {
                    // Black under a set mask bit leaves the screen unchanged.
                    QCOMPARE(four32->pixels.pixel(x, y), qRgb(0, 0, 0));
                }
            }
        QVERIFY2(opaque >= 64, qPrintable(where + "the 16-colour picture is (nearly) empty"));
        coloursUsed.unite(colours);
        if (colours.size() >= 3)
            ++colourful;

        // Qt's reader is what shows "AutoRun.Ico" in Velkaro's own preview.
        QBuffer buffer;
        buffer.setData(bytes);
        QImageReader reader(&buffer, "ico");
        QCOMPARE(reader.imageCount(), ico.images.size());

        const QByteArray trueDigest = Digest(true32->pixels, true32->andMask);
        const QByteArray sixteenDigest = Digest(four32->pixels, four32->andMask);
        QVERIFY2(!trueColourSeen.contains(trueDigest),
                 qPrintable(where + QStringLiteral("same picture as icon %1")
                                        .arg(trueColourSeen.value(trueDigest))));
        QVERIFY2(!sixteenSeen.contains(sixteenDigest),
                 qPrintable(where + QStringLiteral("same 16-colour picture as icon %1")
                                        .arg(sixteenSeen.value(sixteenDigest))));
        trueColourSeen.insert(trueDigest, n);
        sixteenSeen.insert(sixteenDigest, n);
    }
    // A silhouette in one colour is fine now and then; a library of them
    // means the reduction to 16 colours lost the pictures.
    QVERIFY2(coloursUsed.size() >= 14, "the 16-colour images use few of the 16 colours");
    QVERIFY2(colourful >= LibrarySize * 9 / 10, "most 16-colour images have fewer than 3 colours");
}

void IconLibraryFilesTest::programShowsTheTrueColourImageOfEachIcon()
{
    const IconLibrary& library = IconLibrary::instance();
    QCOMPARE(library.count(), LibrarySize);
    for (int n = 1; n <= LibrarySize; ++n) {
        QCOMPARE(library.fileBytes(n), ReadResource(n));
        const IcoFile ico = ParseIco(library.fileBytes(n));
        const IcoImage* true32 = FindImage(ico, 32, 32);
        QVERIFY(true32);
        const QImage expected = true32->pixels.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        const QImage shown =
            library.picture(n).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QVERIFY2(
            shown == expected,
            qPrintable(QStringLiteral("icon %1: shown picture is not its 32-bit image").arg(n)));
    }
}

void IconLibraryFilesTest::manifestNamesSourceAndLicenceOfEveryIcon()
{
    QFile manifest(QStringLiteral(VELKARO_SOURCE_DIR "/resources/iconlib/MANIFEST.tsv"));
    QVERIFY(manifest.open(QIODevice::ReadOnly | QIODevice::Text));
    QFile notice(QStringLiteral(VELKARO_SOURCE_DIR "/resources/iconlib/NOTICE"));
    QVERIFY(notice.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString noticeText = QString::fromUtf8(notice.readAll());

    int expected = 1;
    const QStringList lines = QString::fromUtf8(manifest.readAll()).split('\n', Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        if (line.startsWith('#'))
            continue;
        const QStringList fields = line.split('\t');
        QCOMPARE(fields.size(), 5);
        QCOMPARE(fields[0], QStringLiteral("%1").arg(expected, 3, 10, QLatin1Char('0')));
        QVERIFY2(!fields[3].isEmpty(), qPrintable(line));
        QVERIFY2(fields[4] == "public domain" || fields[4] == "CC-BY-4.0", qPrintable(line));
        if (fields[4] == "CC-BY-4.0")
            QVERIFY2(noticeText.contains("CC-BY 4.0") && noticeText.contains("Twemoji"),
                     "NOTICE lacks the attribution that CC-BY 4.0 asks for");
        ++expected;
    }
    QCOMPARE(expected - 1, LibrarySize);
}

QTEST_MAIN(IconLibraryFilesTest)
#include "tst_iconlibrary_files.moc"

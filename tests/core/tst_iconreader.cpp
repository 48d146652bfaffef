// The one reader of icon pictures. Its short way for the 32 x 32 picture in
// 32 bits must give exactly what Qt's own reader gives, so that the library,
// a chosen icon file and the built-in pictures follow one rule.
#include "IcoFiles.h"
#include "IconReader.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTest>

using namespace velkaro;
using namespace velkaro::testing;

namespace {

// The 32 x 32 picture as Qt's ICO reader decodes it.
QImage QtPicture32(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    for (int i = 0; i < reader.imageCount(); ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QImage image = reader.read();
        if (image.size() == QSize(32, 32))
            return image;
    }
    return {};
}

// Every pixel different, with every alpha from clear to opaque.
QImage Gradient32()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            image.setPixel(x, y, qRgba(8 * x, 8 * y, 255 - 4 * (x + y), (x * 32 + y) % 256));
    return image;
}

} // namespace

class IconReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void trueColourPictureAsQtReadsIt_data();
    void trueColourPictureAsQtReadsIt();
};

void IconReaderTest::trueColourPictureAsQtReadsIt_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QFile disc(QStringLiteral(":/mainiconlist/disc.ico"));
    QVERIFY(disc.open(QIODevice::ReadOnly));
    QTest::newRow("the disc icon, three sizes") << disc.readAll();
    QTest::newRow("half-transparent, between other sizes") << IcoBytes(
        {SolidImage(16, qRgb(255, 0, 0)), Gradient32(), SolidImage(48, qRgb(0, 0, 255))});
}

void IconReaderTest::trueColourPictureAsQtReadsIt()
{
    QFETCH(QByteArray, bytes);
    QVERIFY(!bytes.isEmpty());
    const QImage expected = QtPicture32(bytes);
    QVERIFY(!expected.isNull());
    const QImage read = ReadIconPicture(bytes);
    QCOMPARE(read.format(), expected.format());
    QCOMPARE(read, expected);
}

QTEST_GUILESS_MAIN(IconReaderTest)
#include "tst_iconreader.moc"

// The window icon carried inside the program: every size the desktop asks
// for, each the same picture that the installation puts into the icon theme.

#include "AppIcon.h"

#include <QImage>
#include <QTest>

using namespace velkaro;

class AppIconTest : public QObject
{
    Q_OBJECT

private slots:
    void everySizeIsTheInstalledPicture_data();
    void everySizeIsTheInstalledPicture();
};

void AppIconTest::everySizeIsTheInstalledPicture_data()
{
    QTest::addColumn<int>("size");
    for (const int size : {16, 32, 48, 64, 128, 256})
        QTest::addRow("%dx%d", size, size) << size;
}

void AppIconTest::everySizeIsTheInstalledPicture()
{
    QFETCH(int, size);
    const QIcon icon = ApplicationIcon();
    QVERIFY(!icon.isNull());
    QVERIFY(icon.availableSizes().contains(QSize(size, size)));

    const QImage shown = icon.pixmap(QSize(size, size))
                             .toImage()
                             .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage installed =
        QImage(QStringLiteral(VELKARO_ICON_DIR "/%1x%1/apps/velkaro.png").arg(size))
            .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QVERIFY(!installed.isNull());
    QCOMPARE(shown.size(), QSize(size, size));
    QCOMPARE(shown, installed);
}

QTEST_MAIN(AppIconTest)
#include "tst_appicon.moc"

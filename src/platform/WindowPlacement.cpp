#include "WindowPlacement.h"

#include "AppSettings.h"
#include "TestHooks.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace velkaro {

namespace {

QSize& ScreenOverride()
{
    static QSize size;
    return size;
}

int StoredTwips(const QString& key)
{
    return ParseStoredTwips(GetAppSetting(key, QStringLiteral("-1")));
}

} // namespace

int ParseStoredTwips(const QString& text)
{
    // QString::toInt stops at a NUL character and would read "1536\0xyz" as
    // 1536, so the form is checked here: a sign at most, then digits only.
    const QString number = text.trimmed();
    const qsizetype first =
        number.startsWith(QLatin1Char('+')) || number.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (number.size() == first)
        return -1;
    for (qsizetype i = first; i < number.size(); ++i) {
        if (number.at(i) < QLatin1Char('0') || number.at(i) > QLatin1Char('9'))
            return -1;
    }
    bool ok = false;
    const int value = number.toInt(&ok);
    return ok ? value : -1;
}

QSize ScreenSizePixels()
{
    if (ScreenOverride().isValid())
        return ScreenOverride();
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->geometry().size();
    return QSize(640, 480);
}

void SetScreenSizeForTesting(const QSize& pixels)
{
    NoteTestHookReset([] { ScreenOverride() = QSize(); });
    ScreenOverride() = pixels;
}

void SaveFormPosition(const QWidget* window)
{
    SaveAppSetting(QStringLiteral("_Top"), window->y() * TwipsPerPixel);
    SaveAppSetting(QStringLiteral("_Left"), window->x() * TwipsPerPixel);
}

void RestoreFormPosition(QWidget* window)
{
    const int top = StoredTwips(QStringLiteral("_Top"));
    const int left = StoredTwips(QStringLiteral("_Left"));
    const QSize screen = ScreenSizePixels();
    const qint64 screenHeight = qint64(screen.height()) * TwipsPerPixel;
    const qint64 screenWidth = qint64(screen.width()) * TwipsPerPixel;
    if (screenHeight > top && screenWidth > left && top >= 0 && left >= 0)
        window->move(left / TwipsPerPixel, top / TwipsPerPixel);
    else
        CenterFormOnScreen(window);
}

void CenterFormOnScreen(QWidget* window)
{
    // Integer division truncates towards zero, so a window wider than the
    // screen sticks out equally on both sides.
    const QSize screen = ScreenSizePixels();
    const QSize outer = window->frameGeometry().size();
    const int left = (screen.width() - outer.width()) / 2;
    const int top = (screen.height() - outer.height()) / 2;
    window->move(left, top);
}

} // namespace velkaro

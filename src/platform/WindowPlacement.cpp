#include "WindowPlacement.h"

#include "AppSettings.h"
#include "TestHooks.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
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

// Puts the window's outer corner (frame and title bar included) where its
// outer size, as far as it is known now, is centred on the screen. Integer
// division truncates towards zero, so a window wider than the screen sticks
// out equally on both sides.
QPoint PlaceCentred(QWidget* window)
{
    const QSize screen = ScreenSizePixels();
    const QSize outer = window->frameGeometry().size();
    const QPoint corner((screen.width() - outer.width()) / 2,
                        (screen.height() - outer.height()) / 2);
    window->move(corner);
    return corner;
}

// A window that is not shown yet has no frame that Qt knows of, so it is
// centred by its inner size, which puts it half a title bar too low. It is
// centred once more as soon as its frame is known: Windows tells it when the
// native window is made, just before the window appears, so it appears in
// the right place; a window manager on X11 only once it has framed the
// window. Nothing is changed once anyone else has moved the window.
class CentreWhenFrameKnown : public QObject
{
public:
    CentreWhenFrameKnown(QWidget* window, QPoint corner)
        : QObject(window), m_window(window), m_corner(corner)
    {
        setObjectName(Name());
        window->installEventFilter(this);
    }

    static QString Name() { return QStringLiteral("CentreWhenFrameKnown"); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_window)
            return false;
        switch (event->type()) {
        case QEvent::Show:
            // The frame of a window manager comes soon after the window
            // appears or never (no window manager, a frameless window).
            QTimer::singleShot(2000, this, [this] { Finish(); });
            [[fallthrough]];
        case QEvent::Move:
        case QEvent::Resize:
            if (!m_window->isVisible() || m_done)
                break;
            if (m_window->pos() != m_corner) {
                Finish();
            } else if (m_window->frameGeometry().size() != m_window->size()) {
                PlaceCentred(m_window);
                Finish();
            }
            break;
        case QEvent::Hide:
            Finish();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void Finish()
    {
        if (m_done)
            return;
        m_done = true;
        m_window->removeEventFilter(this);
        deleteLater();
    }

    QWidget* m_window;
    QPoint m_corner;
    bool m_done = false;
};

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
    const QPoint corner = PlaceCentred(window);
    if (!window->isVisible() && window->isWindow()) {
        // Centred again when shown; an earlier request of the same kind
        // gives way to this one.
        delete window->findChild<QObject*>(CentreWhenFrameKnown::Name(),
                                           Qt::FindDirectChildrenOnly);
        new CentreWhenFrameKnown(window, corner);
    }
}

} // namespace velkaro

#include "WindowPlacement.h"

#include "AppSettings.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <optional>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace velkaro {

namespace {

int StoredTwips(const QSettings& settings, const QString& key)
{
    return ParseStoredTwips(GetAppSetting(settings, key, QStringLiteral("-1")));
}

// Where the outer corner of a window of this outer size stands when it is
// centred on the screen. Integer division truncates towards zero, so a
// window wider than the screen sticks out equally on both sides.
QPoint CentredCorner(QSize screen, QSize outer)
{
    return QPoint((screen.width() - outer.width()) / 2, (screen.height() - outer.height()) / 2);
}

// Moves the window so that its outer corner, as the window system reports
// it, stands at the given place.
void MoveOuterCorner(QWidget* window, QPoint corner)
{
    const QPoint now = OuterRect(window).topLeft();
    if (now != corner)
        window->move(window->pos() + (corner - now));
}

// A window that is not shown yet has no frame that Qt knows of: it is placed
// by its inner size, which puts a centred window half a title bar too low,
// and on Windows Qt's idea of the frame leaves out borders that Windows
// counts. So the window is placed once more as soon as its frame is known:
// Windows tells it when the native window is made, just before the window
// appears, so it appears in the right place; a window manager on X11 only
// once it has framed the window.
class PlaceWhenFrameKnown : public QObject
{
public:
    // Centres the window on the screen, or puts its outer corner at the given place.
    PlaceWhenFrameKnown(QWidget* window, std::optional<QPoint> corner, QSize screen)
        : QObject(window), m_window(window), m_corner(corner), m_screen(screen)
    {
        setObjectName(Name());
        window->installEventFilter(this);
    }

    static QString Name() { return QStringLiteral("PlaceWhenFrameKnown"); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != m_window || m_done)
            return false;
        switch (event->type()) {
        case QEvent::Show:
            // A window manager's frame comes soon after the window appears
            // or never (no window manager, a frameless window).
            QTimer::singleShot(2000, this, [this] { Finish(); });
            [[fallthrough]];
        case QEvent::Move:
        case QEvent::Resize:
            if (m_window->isVisible()) {
                const QRect outer = OuterRect(m_window);
                if (outer.size() != m_window->size()) {
                    Finish();
                    MoveOuterCorner(m_window,
                                    m_corner ? *m_corner : CentredCorner(m_screen, outer.size()));
                }
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
        m_done = true;
        m_window->removeEventFilter(this);
        deleteLater();
    }

    QWidget* m_window;
    std::optional<QPoint> m_corner;
    QSize m_screen;
    bool m_done = false;
};

// Places the window now, by what is known of it, and again when it is shown.
void Place(QWidget* window, std::optional<QPoint> corner, QSize screen)
{
    MoveOuterCorner(window, corner ? *corner : CentredCorner(screen, OuterRect(window).size()));
    if (window->isWindow() && !window->isVisible()) {
        // An earlier request for the same window gives way to this one.
        delete window->findChild<QObject*>(PlaceWhenFrameKnown::Name(), Qt::FindDirectChildrenOnly);
        new PlaceWhenFrameKnown(window, corner, screen);
    }
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
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        return screen->geometry().size();
    return QSize(640, 480);
}

QRect OuterRect(const QWidget* window)
{
#ifdef Q_OS_WIN
    // Qt leaves out of the frame the borders that Windows 10 draws
    // invisibly, and Wine draws them visibly; Windows programs measure a
    // window with GetWindowRect.
    RECT rect;
    if (window->isWindow() && window->testAttribute(Qt::WA_WState_Created) &&
        QGuiApplication::platformName() == QLatin1String("windows") &&
        GetWindowRect(reinterpret_cast<HWND>(window->winId()), &rect)) {
        const qreal ratio = window->devicePixelRatioF();
        return QRect(qRound(rect.left / ratio), qRound(rect.top / ratio),
                     qRound((rect.right - rect.left) / ratio),
                     qRound((rect.bottom - rect.top) / ratio));
    }
#endif
    // A window's position is that of its frame; before it is shown Qt may
    // not yet have moved its idea of the inner rectangle to match.
    return QRect(window->pos(), window->frameGeometry().size());
}

void SaveFormPosition(const QWidget* window, QSettings& settings)
{
    const QPoint corner = OuterRect(window).topLeft();
    SaveAppSetting(settings, QStringLiteral("_Top"), corner.y() * TwipsPerPixel);
    SaveAppSetting(settings, QStringLiteral("_Left"), corner.x() * TwipsPerPixel);
}

void RestoreFormPosition(QWidget* window, const QSettings& settings, QSize screen)
{
    const int top = StoredTwips(settings, QStringLiteral("_Top"));
    const int left = StoredTwips(settings, QStringLiteral("_Left"));
    const qint64 screenHeight = qint64(screen.height()) * TwipsPerPixel;
    const qint64 screenWidth = qint64(screen.width()) * TwipsPerPixel;
    if (screenHeight > top && screenWidth > left && top >= 0 && left >= 0)
        Place(window, QPoint(left / TwipsPerPixel, top / TwipsPerPixel), screen);
    else
        CenterFormOnScreen(window, screen);
}

void CenterFormOnScreen(QWidget* window, QSize screen)
{
    Place(window, std::nullopt, screen);
}

} // namespace velkaro

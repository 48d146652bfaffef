#pragma once

#include "Twips.h"

#include <QRect>
#include <QSize>

class QSettings;
class QWidget;

namespace velkaro {

// The whole primary screen in pixels (not the area free of task bars).
QSize ScreenSizePixels();

// A stored "_Top" or "_Left" text as twips; -1 when it is not a whole number
// (blanks around it are allowed), so that it counts as missing.
int ParseStoredTwips(const QString& text);

// The window's outer rectangle, frame and title bar included, as the window
// system reports it (on Windows: GetWindowRect). Positions and sizes of the
// placement are those of this rectangle.
QRect OuterRect(const QWidget* window);

// Stores the window's top and left edge under "_Top" and "_Left".
void SaveFormPosition(const QWidget* window, QSettings& settings);
// Puts the window at the stored place while its corner lies on a screen of
// the given size, otherwise centres it there.
void RestoreFormPosition(QWidget* window, const QSettings& settings,
                         QSize screen = ScreenSizePixels());
void CenterFormOnScreen(QWidget* window, QSize screen = ScreenSizePixels());

} // namespace velkaro

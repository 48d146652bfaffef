#pragma once

#include "Twips.h"

#include <QSize>

class QWidget;

namespace velkaro {

// The whole primary screen in pixels (not the area free of task bars).
QSize ScreenSizePixels();
// Tests pretend a screen of this size; an empty size returns to the real one.
void SetScreenSizeForTesting(const QSize& pixels);

// A stored "_Top" or "_Left" text as twips; -1 when it is not a whole number
// (blanks around it are allowed), so that it counts as missing.
int ParseStoredTwips(const QString& text);

// Stores the window's top and left edge under "_Top" and "_Left".
void SaveFormPosition(const QWidget* window);
// Puts the window at the stored place while its corner lies on the screen,
// otherwise centres it.
void RestoreFormPosition(QWidget* window);
void CenterFormOnScreen(QWidget* window);

} // namespace velkaro

#pragma once

#include <QRect>

class QWidget;

// Every window inside its screen: a window larger than the screen's free area (a small screen, or a large scale
// factor) is made to fit, and one partly off it is moved back.
namespace ScreenFit {
// The free area of the screen `window` is on (or of the primary screen), in its own coordinates.
QRect available(const QWidget* window);
// Shrinks `window` to the free area, as far as its minimum size allows, and moves it inside; a window that already
// fits stays where it is.
void fit(QWidget* window);
// From now on, every window of the program is fitted as it is shown.
void install();
} // namespace ScreenFit

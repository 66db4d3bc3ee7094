#pragma once

#include <QRect>
#include <QWidget>

#include <functional>

// Centres the whole frame of the top-level `window`, title bar and borders
// included, on the area `area` gives, each time the window is shown. The window
// manager draws the frame only after the window is on screen, so the window is
// centred once more as soon as the frame is known.
void KeepFrameCentredOn(QWidget* window, std::function<QRect()> area);

// The frame of the top-level `window` as the window manager has drawn it; the
// window itself until then.
QRect WindowFrame(const QWidget* window);

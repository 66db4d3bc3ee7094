#pragma once

#include <QAction>
#include <QRect>
#include <QToolButton>
#include <QWidget>

// A speed button: bound to an action, it shows the action's 24 x 24 glyph and
// caption side by side, centred as one group, runs the action when clicked,
// takes no keyboard focus and shows a hand cursor.
class TSpeedButton : public QToolButton {
public:
    // A button for `action` at `geometry` inside `parent`.
    TSpeedButton(QWidget* parent, QAction* action, const QRect& geometry);

protected:
    void paintEvent(QPaintEvent* event) override;
};

#pragma once

#include <QWidget>

// A rectangle shape: an area in the palette's Base colour (white by default)
// framed by a one-pixel line in its Text colour (black by default). Text on it
// belongs in the Text colour too.
class TShape : public QWidget {
public:
    explicit TShape(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

#pragma once

#include <QWidget>

// A rectangle shape: a white area framed by a one-pixel black line.
class TShape : public QWidget {
public:
    explicit TShape(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};

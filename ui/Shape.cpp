#include "Shape.h"

#include <QPainter>

TShape::TShape(QWidget* parent) : QWidget(parent)
{
}

void TShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    // The pen is drawn on the rectangle's inner edge, so the last row and
    // column of pixels have to be left to it.
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

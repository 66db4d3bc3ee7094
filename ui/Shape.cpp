#include "Shape.h"

#include <QPainter>

TShape::TShape(QWidget* parent) : QWidget(parent)
{
}

void TShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The fill and line take the colours of a text field's background and text,
    // which every palette, dark ones too, keeps readable together.
    painter.setPen(palette().color(QPalette::Text));
    painter.setBrush(palette().color(QPalette::Base));
    // The pen is drawn on the rectangle's inner edge, so the last row and
    // column of pixels have to be left to it.
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

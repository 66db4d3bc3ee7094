#include "SpeedButton.h"

#include <QStyleOptionToolButton>
#include <QStylePainter>

#include "FormDesign.h"

namespace {

using FormDesign::kGlyphSize;
using FormDesign::kGlyphToCaption;

}  // namespace

TSpeedButton::TSpeedButton(QWidget* parent, QAction* action, const QRect& geometry)
    : QToolButton(parent)
{
    setDefaultAction(action);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setIconSize(QSize(kGlyphSize, kGlyphSize));
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setGeometry(geometry);
}

void TSpeedButton::paintEvent(QPaintEvent*)
{
    // The style would put the glyph at the left edge; a speed button centres
    // glyph and caption together, so the style draws only the bevel.
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    const QIcon glyph = option.icon;
    option.text.clear();
    option.icon = QIcon();
    painter.drawComplexControl(QStyle::CC_ToolButton, option);

    const int captionWidth = fontMetrics().horizontalAdvance(caption);
    const int groupWidth = kGlyphSize + kGlyphToCaption + captionWidth;
    const int left = (width() - groupWidth) / 2;
    const int top = (height() - kGlyphSize) / 2;
    const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
    glyph.paint(&painter, QRect(left, top, kGlyphSize, kGlyphSize), Qt::AlignCenter, mode);
    const QRect captionRect(left + kGlyphSize + kGlyphToCaption, 0, captionWidth, height());
    painter.drawItemText(captionRect, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(), caption,
                         QPalette::ButtonText);
}

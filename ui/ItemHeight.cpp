#include "ItemHeight.h"

#include <QStyledItemDelegate>

namespace {

// Draws items as a list draws them, `height` pixels high. The style's own
// menu-like items inset their highlight and text, which a 12-pixel row cannot
// take without cutting the text.
class FixedHeightDelegate : public QStyledItemDelegate {
public:
    FixedHeightDelegate(int height, QObject* parent) : QStyledItemDelegate(parent), height_(height) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), height_};
    }

private:
    int height_;
};

}  // namespace

void SetItemHeight(QComboBox* combo, int height)
{
    combo->setItemDelegate(new FixedHeightDelegate(height, combo));
}

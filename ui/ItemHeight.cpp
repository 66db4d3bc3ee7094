#include "ItemHeight.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>

namespace {

// Hands painting to the style's own delegate and only changes the height.
class FixedHeightDelegate : public QAbstractItemDelegate {
public:
    FixedHeightDelegate(QAbstractItemDelegate* styled, int height, QObject* parent)
        : QAbstractItemDelegate(parent), styled_(styled), height_(height)
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        styled_->paint(painter, option, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {styled_->sizeHint(option, index).width(), height_};
    }

private:
    QAbstractItemDelegate* styled_;
    int height_;
};

}  // namespace

void SetItemHeight(QComboBox* combo, int height)
{
    // The combo box keeps its style's delegate alive as a child of itself.
    QAbstractItemDelegate* styled = combo->itemDelegate();
    combo->setItemDelegate(new FixedHeightDelegate(styled, height, combo));
}

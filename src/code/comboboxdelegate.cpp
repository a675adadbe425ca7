#include "code/comboboxdelegate.h"

#include <QPainter>

bool ComboBoxDelegate::IsSeparator(const QModelIndex& index)
{
    return index.data(Qt::AccessibleDescriptionRole).toString() == QLatin1String("separator");
}

void ComboBoxDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    if (!IsSeparator(index)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QRect r = option.rect;
    const int y = (r.top() + r.bottom()) / 2;
    painter->save();
    painter->setPen(Qt::gray);
    painter->drawLine(r.left(), y, r.right(), y);
    painter->restore();
}

QSize ComboBoxDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return IsSeparator(index) ? QSize(0, 2) : QStyledItemDelegate::sizeHint(option, index);
}

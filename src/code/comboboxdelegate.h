#pragma once

#include <QStyledItemDelegate>

// Draws the separator that QComboBox::insertSeparator leaves as a thin grey line.
class ComboBoxDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    static bool IsSeparator(const QModelIndex& index);
};

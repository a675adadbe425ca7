#pragma once

#include <QStyledItemDelegate>

// Draws a tree's or list's names with their bidirectional controls made visible, so that an
// entry cannot disguise its suffix; the model keeps the real names.
class DisplayNameDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& value, const QLocale& locale) const override;
};

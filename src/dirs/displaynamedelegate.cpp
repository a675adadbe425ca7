#include "dirs/displaynamedelegate.h"

#include "platform/displayname.h"

QString DisplayNameDelegate::displayText(const QVariant& value, const QLocale& locale) const
{
    return DisplayName(QStyledItemDelegate::displayText(value, locale));
}

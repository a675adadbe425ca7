#include "pdf/selectpageaction.h"

#include <QRegularExpression>

namespace {

QString PageEntryText(const QString& label, int index, int count)
{
    const QString shown = label.isEmpty() ? QString::number(index + 1) : label;
    return QStringLiteral("%1 (%2 / %3)").arg(shown).arg(index + 1).arg(count);
}

// Typed text: an entry, a label, "(i / n)" or a page number counted from 1.
int PageIndexForText(const QString& text, const QStringList& items)
{
    const QString typed = text.trimmed();
    int index = items.indexOf(typed);
    if (index >= 0)
        return index;
    for (int i = 0; i < items.size(); ++i) {
        if (items.at(i).startsWith(typed + QStringLiteral(" (")))
            return i;
    }
    const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("\\((\\d+)\\s*/")).match(typed);
    bool ok = false;
    const int number = match.hasMatch() ? match.captured(1).toInt(&ok) : typed.toInt(&ok);
    if (ok && number >= 1 && number <= items.size())
        return number - 1;
    return -1;
}

} // namespace

SelectPageAction::SelectPageAction(QObject* parent) : SelectAction(parent)
{
    setEditable(true);
    connect(this, &SelectAction::triggered, this, &SelectPageAction::slotGoToPage);
}

void SelectPageAction::setPageLabels(const QStringList& labels)
{
    QStringList entries;
    for (int i = 0; i < labels.size(); ++i)
        entries << PageEntryText(labels.at(i), i, labels.size());
    setItems(entries);
}

void SelectPageAction::setCurrentPage(int pageIndex) { setCurrentIndex(pageIndex); }

void SelectPageAction::slotGoToPage(const QString& pageLabelText)
{
    const int index = PageIndexForText(pageLabelText, items());
    if (index < 0) {
        setCurrentIndex(currentIndex()); // shows the current entry again
        return;
    }
    setCurrentIndex(index);
    emit pageSelected(index);
}

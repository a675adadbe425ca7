#include "pdf/selectaction.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>

SelectAction::SelectAction(QObject* parent) : QWidgetAction(parent) {}

void SelectAction::setItems(const QStringList& items)
{
    m_items = items;
    m_currentIndex = items.isEmpty() ? -1 : 0;
    m_currentText = items.value(0);
    for (QComboBox* box : comboBoxes())
        fillComboBox(box);
}

QStringList SelectAction::items() const { return m_items; }

void SelectAction::setCurrentIndex(int index)
{
    if (index < -1 || index >= m_items.size())
        return;
    m_currentIndex = index;
    m_currentText = m_items.value(index);
    for (QComboBox* box : comboBoxes())
        showCurrent(box);
}

int SelectAction::currentIndex() const { return m_currentIndex; }

void SelectAction::setEditable(bool editable)
{
    m_editable = editable;
    for (QComboBox* box : comboBoxes()) {
        box->setEditable(editable);
        hookLineEdit(box);
        showCurrent(box);
    }
}

void SelectAction::selectCurrentItem() { emit triggered(m_currentText); }

QWidget* SelectAction::createWidget(QWidget* parent)
{
    auto* box = new QComboBox(parent);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setEditable(m_editable);
    fillComboBox(box);
    hookLineEdit(box);
    connect(box, QOverload<int>::of(&QComboBox::activated), this,
            [this, box](int index) { onBoxActivated(box, index); });
    m_boxes << box;
    return box;
}

void SelectAction::setCurrentText(const QString& text)
{
    m_currentText = text;
    m_currentIndex = m_items.indexOf(text);
    for (QComboBox* box : comboBoxes())
        showCurrent(box);
}

QString SelectAction::currentText() const { return m_currentText; }

QList<QComboBox*> SelectAction::comboBoxes() const
{
    QList<QComboBox*> boxes;
    for (const QPointer<QComboBox>& box : m_boxes) {
        if (box)
            boxes << box.data();
    }
    return boxes;
}

void SelectAction::fillComboBox(QComboBox* box) const
{
    const QSignalBlocker blocker(box);
    box->clear();
    box->addItems(m_items);
    if (!m_items.isEmpty())
        box->setMinimumWidth(QFontMetrics(box->font()).horizontalAdvance(m_items.last() + QStringLiteral("aaaaa")));
    showCurrent(box);
}

void SelectAction::showCurrent(QComboBox* box) const
{
    const QSignalBlocker blocker(box);
    box->setCurrentIndex(m_currentIndex);
    if (box->isEditable())
        box->setEditText(m_currentText);
}

void SelectAction::hookLineEdit(QComboBox* box)
{
    QLineEdit* edit = box->lineEdit();
    if (!edit || edit->property("SelectAction::hooked").toBool())
        return;
    edit->setProperty("SelectAction::hooked", true);
    // The box's own Enter and focus-out handling would emit activated() and trigger twice.
    edit->disconnect(SIGNAL(returnPressed()), box);
    edit->disconnect(SIGNAL(editingFinished()), box);
    connect(edit, &QLineEdit::returnPressed, this, &SelectAction::selectCurrentItem);
    connect(edit, &QLineEdit::textEdited, this, [this, box](const QString& text) { onBoxEdited(box, text); });
}

void SelectAction::onBoxActivated(QComboBox* box, int index)
{
    Q_UNUSED(box);
    setCurrentIndex(index);
    selectCurrentItem();
}

void SelectAction::onBoxEdited(QComboBox* box, const QString& text)
{
    m_currentText = text;
    for (QComboBox* other : comboBoxes()) {
        if (other != box)
            showCurrent(other);
    }
}

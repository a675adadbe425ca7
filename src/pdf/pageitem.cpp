#include "pdf/pageitem.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

namespace {

const char kFormFieldProperty[] = "PageItem::formField";

QString ActionToolTip(Poppler::LinkAction::ActionType type)
{
    switch (type) {
    case Poppler::LinkAction::PageFirst:
        return QCoreApplication::translate("PageItem", "Go to first page");
    case Poppler::LinkAction::PagePrev:
        return QCoreApplication::translate("PageItem", "Go to previous page");
    case Poppler::LinkAction::PageNext:
        return QCoreApplication::translate("PageItem", "Go to next page");
    case Poppler::LinkAction::PageLast:
        return QCoreApplication::translate("PageItem", "Go to last page");
    case Poppler::LinkAction::HistoryBack:
        return QCoreApplication::translate("PageItem", "Backward");
    case Poppler::LinkAction::HistoryForward:
        return QCoreApplication::translate("PageItem", "Forward");
    case Poppler::LinkAction::Quit:
        return QCoreApplication::translate("PageItem", "Quit application");
    case Poppler::LinkAction::Presentation:
        return QCoreApplication::translate("PageItem", "Enter presentation mode");
    case Poppler::LinkAction::EndPresentation:
        return QCoreApplication::translate("PageItem", "Exit presentation mode");
    case Poppler::LinkAction::Find:
        return QCoreApplication::translate("PageItem", "Find...");
    case Poppler::LinkAction::GoToPage:
        return QCoreApplication::translate("PageItem", "Go to page...");
    case Poppler::LinkAction::Close:
        return QCoreApplication::translate("PageItem", "Close document");
    case Poppler::LinkAction::Print:
        return QCoreApplication::translate("PageItem", "Print...");
    default:
        return QString();
    }
}

void AttachField(QWidget* widget, Poppler::FormField* field)
{
    widget->setProperty(kFormFieldProperty, QVariant::fromValue(field));
    widget->setEnabled(!field->isReadOnly());
}

} // namespace

PageItem::PageItem(Poppler::Page* page, QObject* parent) : QObject(parent), m_page(page) {}

PageItem::~PageItem()
{
    qDeleteAll(m_links);
    qDeleteAll(m_formFields);
}

// Read on first use: reading every page's links would hold up the document's first picture.
Poppler::Link* PageItem::linkAt(const QPointF& normalisedPoint) const
{
    if (!m_linksRead && m_page)
        m_links = m_page->links();
    m_linksRead = true;
    for (Poppler::Link* link : m_links) {
        if (link && link->linkArea().normalized().contains(normalisedPoint))
            return link;
    }
    return nullptr;
}

QString PageItem::toolTipFor(const Poppler::Link* link)
{
    if (!link)
        return QString();
    if (link->linkType() == Poppler::Link::Browse) {
        const QString url = static_cast<const Poppler::LinkBrowse*>(link)->url();
        if (!url.isEmpty())
            return QCoreApplication::translate("PageItem", "Go to %1").arg(url);
    }
    if (link->linkType() == Poppler::Link::Goto) {
        const int page = static_cast<const Poppler::LinkGoto*>(link)->destination().pageNumber();
        if (page > 0)
            return QCoreApplication::translate("PageItem", "Go to page %1").arg(page);
    }
    if (link->linkType() == Poppler::Link::Action)
        return ActionToolTip(static_cast<const Poppler::LinkAction*>(link)->actionType());
    return QString();
}

QList<QPair<QWidget*, QRectF>> PageItem::createFormWidgets()
{
    if (!m_formFieldsRead && m_page) {
        m_formFields = m_page->formFields();
        m_formFieldsRead = true;
    }
    QList<QPair<QWidget*, QRectF>> widgets;
    for (Poppler::FormField* field : qAsConst(m_formFields)) {
        if (!field || !field->isVisible())
            continue;
        if (QWidget* widget = createFormWidget(field))
            widgets << qMakePair(widget, field->rect().normalized());
    }
    return widgets;
}

void PageItem::slotSetFormData()
{
    Poppler::FormField* field = senderField();
    if (auto* edit = qobject_cast<QTextEdit*>(sender())) {
        if (field && field->type() == Poppler::FormField::FormText)
            static_cast<Poppler::FormFieldText*>(field)->setText(edit->toPlainText());
    } else if (auto* list = qobject_cast<QListWidget*>(sender())) {
        if (!field || field->type() != Poppler::FormField::FormChoice)
            return;
        QList<int> rows;
        for (int row = 0; row < list->count(); ++row) {
            if (list->item(row)->isSelected())
                rows << row;
        }
        static_cast<Poppler::FormFieldChoice*>(field)->setCurrentChoices(rows);
    }
}

void PageItem::slotSetFormData(const QString& text)
{
    Poppler::FormField* field = senderField();
    if (field && field->type() == Poppler::FormField::FormText)
        static_cast<Poppler::FormFieldText*>(field)->setText(text);
}

void PageItem::slotSetFormData(bool checked)
{
    Poppler::FormField* field = senderField();
    if (!field || field->type() != Poppler::FormField::FormButton)
        return;
    auto* button = static_cast<Poppler::FormFieldButton*>(field);
    button->setState(checked);
    if (checked && button->buttonType() == Poppler::FormFieldButton::Radio)
        uncheckSiblings(button);
}

void PageItem::slotSetFormData(int index)
{
    Poppler::FormField* field = senderField();
    if (!field || field->type() != Poppler::FormField::FormChoice)
        return;
    auto* choice = static_cast<Poppler::FormFieldChoice*>(field);
    if (index >= 0 && index < choice->choices().size())
        choice->setCurrentChoices(QList<int>() << index);
    else
        choice->setCurrentChoices(QList<int>());
}

QWidget* PageItem::createFormWidget(Poppler::FormField* field)
{
    switch (field->type()) {
    case Poppler::FormField::FormText:
        return createTextWidget(static_cast<Poppler::FormFieldText*>(field));
    case Poppler::FormField::FormButton:
        return createButtonWidget(static_cast<Poppler::FormFieldButton*>(field));
    case Poppler::FormField::FormChoice:
        return createChoiceWidget(static_cast<Poppler::FormFieldChoice*>(field));
    default:
        return nullptr; // signatures have no live widget
    }
}

QWidget* PageItem::createTextWidget(Poppler::FormFieldText* field)
{
    if (field->textType() == Poppler::FormFieldText::Multiline) {
        auto* edit = new QTextEdit;
        edit->setPlainText(field->text());
        AttachField(edit, field);
        connect(edit, &QTextEdit::textChanged, this, QOverload<>::of(&PageItem::slotSetFormData));
        return edit;
    }
    auto* edit = new QLineEdit(field->text());
    if (field->isPassword())
        edit->setEchoMode(QLineEdit::Password);
    if (field->maximumLength() > 0)
        edit->setMaxLength(field->maximumLength());
    edit->setAlignment(field->textAlignment());
    AttachField(edit, field);
    connect(edit, &QLineEdit::textEdited, this, QOverload<const QString&>::of(&PageItem::slotSetFormData));
    return edit;
}

QWidget* PageItem::createButtonWidget(Poppler::FormFieldButton* field)
{
    QAbstractButton* button = nullptr;
    switch (field->buttonType()) {
    case Poppler::FormFieldButton::Push:
        button = new QPushButton(field->caption());
        break;
    case Poppler::FormFieldButton::CheckBox:
        button = new QCheckBox;
        break;
    case Poppler::FormFieldButton::Radio:
        // Each radio sits in its own proxy; exclusivity is kept through the field's siblings.
        button = new QRadioButton;
        button->setAutoExclusive(false);
        break;
    }
    if (!button)
        return nullptr;
    AttachField(button, field);
    if (field->buttonType() != Poppler::FormFieldButton::Push) {
        button->setChecked(field->state());
        m_buttonWidgets[field->id()] << QPointer<QWidget>(button);
        connect(button, &QAbstractButton::toggled, this, QOverload<bool>::of(&PageItem::slotSetFormData));
    }
    return button;
}

QWidget* PageItem::createChoiceWidget(Poppler::FormFieldChoice* field)
{
    const QList<int> current = field->currentChoices();
    if (field->choiceType() == Poppler::FormFieldChoice::ComboBox) {
        auto* box = new QComboBox;
        box->addItems(field->choices());
        box->setCurrentIndex(current.value(0, -1));
        if (field->isEditable()) {
            box->setEditable(true);
            if (current.isEmpty())
                box->setEditText(field->editChoice());
        }
        AttachField(box, field);
        connect(box, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                QOverload<int>::of(&PageItem::slotSetFormData));
        return box;
    }
    auto* list = new QListWidget;
    list->addItems(field->choices());
    list->setSelectionMode(field->multiSelect() ? QAbstractItemView::MultiSelection
                                                : QAbstractItemView::SingleSelection);
    for (int row : current) {
        if (QListWidgetItem* item = list->item(row))
            item->setSelected(true);
    }
    AttachField(list, field);
    connect(list, &QListWidget::itemSelectionChanged, this, QOverload<>::of(&PageItem::slotSetFormData));
    return list;
}

Poppler::FormField* PageItem::senderField() const
{
    if (!sender())
        return nullptr;
    auto* field = sender()->property(kFormFieldProperty).value<Poppler::FormField*>();
    return m_formFields.contains(field) ? field : nullptr;
}

void PageItem::uncheckSiblings(Poppler::FormFieldButton* field)
{
    for (int id : field->siblings()) {
        for (const QPointer<QWidget>& widget : m_buttonWidgets.value(id)) {
            auto* button = qobject_cast<QAbstractButton*>(widget.data());
            if (!button || !button->isChecked())
                continue;
            const QSignalBlocker blocker(button);
            button->setChecked(false);
        }
    }
}

#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QPair>
#include <QPointF>
#include <QPointer>
#include <QRectF>

#include <poppler-form.h>
#include <poppler-qt5.h>

class QWidget;

// The links and form fields of one Poppler page.
class PageItem : public QObject
{
    Q_OBJECT
public:
    PageItem(Poppler::Page* page, QObject* parent = nullptr); // does not own page
    ~PageItem() override;
    // point in page coordinates normalised to 0..1 (as Poppler's link areas are)
    Poppler::Link* linkAt(const QPointF& normalisedPoint) const;
    static QString toolTipFor(const Poppler::Link* link); // "" for none
    // One widget per form field, each with the dynamic property "PageItem::formField"
    // (a QVariant holding the Poppler::FormField*), connected to slotSetFormData; the rect
    // is the field's rectangle normalised to 0..1 of the page. Owned by the caller.
    QList<QPair<QWidget*, QRectF>> createFormWidgets();

public slots:
    void slotSetFormData();
    void slotSetFormData(const QString& text);
    void slotSetFormData(bool checked);
    void slotSetFormData(int index);

private:
    QWidget* createFormWidget(Poppler::FormField* field);
    QWidget* createTextWidget(Poppler::FormFieldText* field);
    QWidget* createButtonWidget(Poppler::FormFieldButton* field);
    QWidget* createChoiceWidget(Poppler::FormFieldChoice* field);
    Poppler::FormField* senderField() const;
    void uncheckSiblings(Poppler::FormFieldButton* field);

    Poppler::Page* m_page;
    mutable QList<Poppler::Link*> m_links;
    mutable bool m_linksRead = false;
    QList<Poppler::FormField*> m_formFields; // read once, kept for the widgets
    bool m_formFieldsRead = false;
    QHash<int, QList<QPointer<QWidget>>> m_buttonWidgets; // by field id, for radio groups
};

Q_DECLARE_METATYPE(Poppler::FormField*)

#pragma once

#include <QHash>
#include <QObject>

#include "pdf/pdfview.h"

class PdfViewPrivate;
class QAction;
class QActionGroup;

// Creates the view's actions on first request and keeps them.
class ActionHandler : public QObject {
    Q_OBJECT
public:
    ActionHandler(PdfView* view, PdfViewPrivate* d);
    QAction* action(PdfView::PdfViewAction id);
    QAction* existingAction(PdfView::PdfViewAction id) const;   // null until requested
    void setDocumentOpen(bool open);
    void checkMouseTool(PdfView::MouseTool tool);

private:
    QAction* createAction(PdfView::PdfViewAction id);
    QAction* createViewAction(const QString& text, const QString& objectName, void (PdfView::*slot)());
    QAction* createMouseToolAction(const QString& text, const QString& objectName, PdfView::MouseTool tool);

    PdfView* m_view;
    PdfViewPrivate* d;
    QHash<int, QAction*> m_actions;
    QActionGroup* m_mouseTools = nullptr;
};

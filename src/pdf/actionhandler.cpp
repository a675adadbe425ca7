#include "pdf/actionhandler.h"

#include "pdf/bookmarkshandler.h"
#include "pdf/pdfviewprivate.h"
#include "pdf/selectpageaction.h"
#include "pdf/zoomaction.h"

#include <QAction>
#include <QActionGroup>

ActionHandler::ActionHandler(PdfView* view, PdfViewPrivate* d)
    : QObject(view)
    , m_view(view)
    , d(d)
{
}

QAction* ActionHandler::action(PdfView::PdfViewAction id)
{
    if (id == PdfView::NoPdfViewAction)
        return nullptr;
    if (QAction* existing = m_actions.value(id))
        return existing;
    QAction* created = createAction(id);
    if (created)
        m_actions.insert(id, created);
    return created;
}

QAction* ActionHandler::existingAction(PdfView::PdfViewAction id) const
{
    return m_actions.value(id);
}

void ActionHandler::setDocumentOpen(bool open)
{
    if (QAction* end = existingAction(PdfView::GoToEndOfDocument))
        end->setEnabled(open);
    if (QAction* selector = existingAction(PdfView::GoToPage))
        selector->setEnabled(open);
}

void ActionHandler::checkMouseTool(PdfView::MouseTool tool)
{
    if (!m_mouseTools)
        return;
    for (QAction* toolAction : m_mouseTools->actions()) {
        if (toolAction->data().toInt() == tool)
            toolAction->setChecked(true);
    }
}

QAction* ActionHandler::createViewAction(const QString& text, const QString& objectName, void (PdfView::*slot)())
{
    auto* created = new QAction(text, m_view);
    created->setObjectName(objectName);
    connect(created, &QAction::triggered, m_view, slot);
    return created;
}

QAction* ActionHandler::createMouseToolAction(const QString& text, const QString& objectName, PdfView::MouseTool tool)
{
    if (!m_mouseTools)
        m_mouseTools = new QActionGroup(this);
    auto* created = new QAction(text, m_mouseTools);
    created->setObjectName(objectName);
    created->setCheckable(true);
    created->setData(int(tool));
    created->setChecked(m_view->mouseTool() == tool);
    connect(created, &QAction::triggered, d, &PdfViewPrivate::slotSelectMouseTool);
    return created;
}

QAction* ActionHandler::createAction(PdfView::PdfViewAction id)
{
    QAction* created = nullptr;
    switch (id) {
    case PdfView::ZoomIn:
        created = createViewAction(PdfView::tr("Zoom &In"), "pdfview_zoom_in", &PdfView::slotZoomIn);
        created->setShortcut(QKeySequence::ZoomIn);
        break;
    case PdfView::ZoomOut:
        created = createViewAction(PdfView::tr("Zoom &Out"), "pdfview_zoom_out", &PdfView::slotZoomOut);
        created->setShortcut(QKeySequence::ZoomOut);
        break;
    case PdfView::Zoom:
        created = d->zoomAction();
        break;
    case PdfView::GoToStartOfDocument:
        created = createViewAction(PdfView::tr("&Beginning of the Document"), "pdfview_go_start_document",
                                   &PdfView::slotGoToStartOfDocument);
        created->setIconText(PdfView::tr("Start"));
        created->setShortcut(QKeySequence::MoveToStartOfDocument);
        break;
    case PdfView::GoToEndOfDocument:
        created = createViewAction(PdfView::tr("&End of the Document"), "pdfview_go_end_document",
                                   &PdfView::slotGoToEndOfDocument);
        created->setIconText(PdfView::tr("End"));
        created->setShortcut(QKeySequence::MoveToEndOfDocument);
        created->setEnabled(d->hasDocument());
        break;
    case PdfView::GoToPreviousPage:
        created = createViewAction(PdfView::tr("&Previous Page"), "pdfview_go_previous_page",
                                   &PdfView::slotGoToPreviousPage);
        created->setIconText(PdfView::tr("Previous"));
        break;
    case PdfView::GoToNextPage:
        created = createViewAction(PdfView::tr("&Next Page"), "pdfview_go_next_page", &PdfView::slotGoToNextPage);
        created->setIconText(PdfView::tr("Next"));
        break;
    case PdfView::GoToPage:
        created = d->pageSelector();
        break;
    case PdfView::Bookmarks:
        created = d->bookmarksHandler()->menuAction();
        break;
    case PdfView::SetBookmark:
        created = d->bookmarksHandler()->toggleAction();
        break;
    case PdfView::PreviousBookmark:
        created = d->bookmarksHandler()->previousAction();
        break;
    case PdfView::NextBookmark:
        created = d->bookmarksHandler()->nextAction();
        break;
    case PdfView::Print:
        created = createViewAction(PdfView::tr("&Print..."), "pdfview_print", &PdfView::slotPrint);
        created->setShortcut(QKeySequence::Print);
        break;
    case PdfView::MouseToolBrowse:
        created = createMouseToolAction(PdfView::tr("&Browse Tool"), "pdfview_mouse_browse", PdfView::Browsing);
        break;
    case PdfView::MouseToolMagnify:
        created = createMouseToolAction(PdfView::tr("&Magnify Tool"), "pdfview_mouse_magnify", PdfView::Magnifying);
        break;
    case PdfView::MouseToolSelection:
        created = createMouseToolAction(PdfView::tr("&Selection Tool"), "pdfview_mouse_selection", PdfView::Selection);
        break;
    case PdfView::MouseToolTextSelection:
        created = createMouseToolAction(PdfView::tr("&Text Selection Tool"), "pdfview_mouse_text_selection",
                                        PdfView::TextSelection);
        break;
    case PdfView::ShowForms:
        created = new QAction(PdfView::tr("S&how Forms"), m_view);
        created->setObjectName("pdfview_show_forms");
        created->setCheckable(true);
        created->setChecked(d->showForms());
        connect(created, &QAction::toggled, m_view, &PdfView::slotToggleShowForms);
        break;
    case PdfView::NoPdfViewAction:
        break;
    }
    return created;
}

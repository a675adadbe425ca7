#include "pdf/actionhandler.h"

#include "pdf/bookmarkshandler.h"
#include "pdf/pdflayout.h"
#include "pdf/selectpageaction.h"
#include "pdf/zoomaction.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QMenu>
#include <QToolBar>

ActionHandler::ActionHandler(PdfView* view) : QObject(view), m_view(view)
{
    connect(view, &PdfView::documentChanged, this, &ActionHandler::onDocumentChanged);
    connect(view, &PdfView::scrollPositionChanged, this, [this](qreal, int page) { onPageChanged(page); });
    connect(view, &PdfView::mouseToolChanged, this, &ActionHandler::checkMouseTool);
    connect(view, &PdfView::contextMenuAboutToShow, this, &ActionHandler::addZoomActions);
    connect(view, &PdfView::zoomFactorChanged, this, [this](qreal zoom) {
        if (m_zoomAction)
            m_zoomAction->setZoomFactor(zoom);
    });
}

QAction* ActionHandler::action(Action id)
{
    if (id == NoAction)
        return nullptr;
    if (QAction* existing = m_actions.value(id))
        return existing;
    QAction* created = createAction(id);
    if (created)
        m_actions.insert(id, created);
    return created;
}

QAction* ActionHandler::existingAction(Action id) const { return m_actions.value(id); }

bool ActionHandler::hasDocument() const { return !m_view->fileName().isEmpty(); }

void ActionHandler::onDocumentChanged(const QString& fileName)
{
    const bool open = !fileName.isEmpty();
    if (QAction* showForms = existingAction(ShowForms)) {
        const QSignalBlocker blocker(showForms);
        showForms->setChecked(m_view->showForms());
    }
    if (m_pageSelector) {
        m_pageSelector->setPageLabels(m_view->pageLabels());
        if (open)
            m_pageSelector->setCurrentPage(qMax(0, int(m_view->pageNumber())));
        m_pageSelector->setEnabled(open);
    }
    if (m_bookmarksHandler) {
        if (open)
            m_bookmarksHandler->loadBookmarks(fileName);
        else
            m_bookmarksHandler->clear();
        m_bookmarksHandler->toggleAction()->setEnabled(open);
    }
    if (QAction* end = existingAction(GoToEndOfDocument))
        end->setEnabled(open);
}

void ActionHandler::onPageChanged(int page)
{
    if (m_pageSelector)
        m_pageSelector->setCurrentPage(qMax(0, page));
    if (m_bookmarksHandler)
        m_bookmarksHandler->setCurrentPosition(m_view->pageNumber());
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

void ActionHandler::addZoomActions(QMenu* menu)
{
    for (Action id : {ZoomIn, ZoomOut}) {
        if (QAction* zoom = existingAction(id))
            menu->addAction(zoom);
    }
}

void ActionHandler::openPageSelector()
{
    if (!m_pageSelector)
        return;
    for (QWidget* holder : m_pageSelector->associatedWidgets()) {
        auto* toolBar = qobject_cast<QToolBar*>(holder);
        auto* box = toolBar ? qobject_cast<QComboBox*>(toolBar->widgetForAction(m_pageSelector)) : nullptr;
        if (box && box->isVisible()) {
            box->showPopup();
            return;
        }
    }
}

ZoomAction* ActionHandler::createZoomAction()
{
    m_zoomAction = new ZoomAction(m_view);
    m_zoomAction->setText(PdfView::tr("&Zoom"));
    m_zoomAction->setMinZoomFactor(MinZoomFactor);
    m_zoomAction->setMaxZoomFactor(MaxZoomFactor);
    m_zoomAction->setZoomFactor(m_view->zoomFactor());
    connect(m_zoomAction, &ZoomAction::zoomFactorAdded, m_view, &PdfView::setZoomFactor);
    return m_zoomAction;
}

SelectPageAction* ActionHandler::createPageSelector()
{
    m_pageSelector = new SelectPageAction(m_view);
    m_pageSelector->setPageLabels(m_view->pageLabels());
    m_pageSelector->setCurrentPage(qMax(0, int(m_view->pageNumber())));
    m_pageSelector->setEnabled(hasDocument());
    connect(m_pageSelector, &SelectPageAction::pageSelected, m_view, [this](int page) { m_view->setPage(page); });
    return m_pageSelector;
}

BookmarksHandler* ActionHandler::bookmarksHandler()
{
    if (!m_bookmarksHandler) {
        m_bookmarksHandler = new BookmarksHandler(m_view);
        connect(m_bookmarksHandler, &BookmarksHandler::goToPosition, m_view,
                [this](qreal position) { m_view->setPage(position); });
        if (hasDocument())
            m_bookmarksHandler->loadBookmarks(m_view->fileName());
        m_bookmarksHandler->setCurrentPosition(m_view->pageNumber());
        m_bookmarksHandler->toggleAction()->setEnabled(hasDocument());
    }
    return m_bookmarksHandler;
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
    connect(created, &QAction::triggered, m_view, [this, tool] { m_view->setMouseTool(tool); });
    return created;
}

QAction* ActionHandler::createAction(Action id)
{
    QAction* created = nullptr;
    switch (id) {
    case ZoomIn:
        created = createViewAction(PdfView::tr("Zoom &In"), "pdfview_zoom_in", &PdfView::slotZoomIn);
        created->setShortcut(QKeySequence::ZoomIn);
        break;
    case ZoomOut:
        created = createViewAction(PdfView::tr("Zoom &Out"), "pdfview_zoom_out", &PdfView::slotZoomOut);
        created->setShortcut(QKeySequence::ZoomOut);
        break;
    case Zoom:
        created = createZoomAction();
        break;
    case GoToStartOfDocument:
        created = createViewAction(PdfView::tr("&Beginning of the Document"), "pdfview_go_start_document",
                                   &PdfView::slotGoToStartOfDocument);
        created->setIconText(PdfView::tr("Start"));
        created->setShortcut(QKeySequence::MoveToStartOfDocument);
        break;
    case GoToEndOfDocument:
        created = createViewAction(PdfView::tr("&End of the Document"), "pdfview_go_end_document",
                                   &PdfView::slotGoToEndOfDocument);
        created->setIconText(PdfView::tr("End"));
        created->setShortcut(QKeySequence::MoveToEndOfDocument);
        created->setEnabled(hasDocument());
        break;
    case GoToPreviousPage:
        created =
            createViewAction(PdfView::tr("&Previous Page"), "pdfview_go_previous_page", &PdfView::slotGoToPreviousPage);
        created->setIconText(PdfView::tr("Previous"));
        break;
    case GoToNextPage:
        created = createViewAction(PdfView::tr("&Next Page"), "pdfview_go_next_page", &PdfView::slotGoToNextPage);
        created->setIconText(PdfView::tr("Next"));
        break;
    case GoToPage:
        created = createPageSelector();
        break;
    case Bookmarks:
        created = bookmarksHandler()->menuAction();
        break;
    case SetBookmark:
        created = bookmarksHandler()->toggleAction();
        break;
    case PreviousBookmark:
        created = bookmarksHandler()->previousAction();
        break;
    case NextBookmark:
        created = bookmarksHandler()->nextAction();
        break;
    case Print:
        created = createViewAction(PdfView::tr("&Print..."), "pdfview_print", &PdfView::slotPrint);
        created->setShortcut(QKeySequence::Print);
        break;
    case MouseToolBrowse:
        created = createMouseToolAction(PdfView::tr("&Browse Tool"), "pdfview_mouse_browse", PdfView::Browsing);
        break;
    case MouseToolMagnify:
        created = createMouseToolAction(PdfView::tr("&Magnify Tool"), "pdfview_mouse_magnify", PdfView::Magnifying);
        break;
    case MouseToolSelection:
        created = createMouseToolAction(PdfView::tr("&Selection Tool"), "pdfview_mouse_selection", PdfView::Selection);
        break;
    case MouseToolTextSelection:
        created = createMouseToolAction(PdfView::tr("&Text Selection Tool"), "pdfview_mouse_text_selection",
                                        PdfView::TextSelection);
        break;
    case ShowForms:
        created = new QAction(PdfView::tr("S&how Forms"), m_view);
        created->setObjectName("pdfview_show_forms");
        created->setCheckable(true);
        created->setChecked(m_view->showForms());
        connect(created, &QAction::toggled, m_view, &PdfView::slotToggleShowForms);
        break;
    case NoAction:
        break;
    }
    return created;
}

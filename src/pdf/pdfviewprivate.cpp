#include "pdf/pdfviewprivate.h"

#include "pdf/actionhandler.h"
#include "pdf/bookmarkshandler.h"
#include "pdf/filesettings.h"
#include "pdf/pageitem.h"
#include "pdf/pagerenderer.h"
#include "pdf/pdflayout.h"
#include "pdf/selectpageaction.h"
#include "pdf/zoomaction.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QDesktopWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsPixmapItem>
#include <QGraphicsProxyWidget>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QToolBar>
#include <QToolTip>
#include <QUrl>
#include <QWheelEvent>

#include <cmath>
#include <memory>

namespace {

const QSizeF FallbackPageSize(612, 792);  // US Letter, for a page Poppler cannot give

void PutOnClipboard(const QString& text)
{
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->setText(text, QClipboard::Clipboard);
    if (clipboard->supportsSelection())
        clipboard->setText(text, QClipboard::Selection);
}

void PutOnClipboard(const QImage& image)
{
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->setImage(image, QClipboard::Clipboard);
    if (clipboard->supportsSelection())
        clipboard->setImage(image, QClipboard::Selection);
}

}  // namespace

PdfViewPrivate::PdfViewPrivate(PdfView* view)
    : QObject(view)
    , m_view(view)
    , m_scene(new QGraphicsScene(this))
    , m_renderer(new PageRenderer(this))
{
    m_dpiX = QApplication::desktop()->physicalDpiX();
    m_dpiY = QApplication::desktop()->physicalDpiY();
    m_renderHints = Poppler::Document::Antialiasing | Poppler::Document::TextAntialiasing;
    m_renderBackend = Poppler::Document::SplashBackend;
    m_view->setScene(m_scene);
    m_scrollTimer.setSingleShot(true);
    m_scrollTimer.setInterval(0);
    connect(&m_scrollTimer, &QTimer::timeout, this, qOverload<>(&PdfViewPrivate::slotVerticalPositionChanged));
    connect(m_renderer, &PageRenderer::pageRendered, this, &PdfViewPrivate::onPageRendered);
    connect(m_renderer, &PageRenderer::pageSkipped, this, &PdfViewPrivate::onPageSkipped);
    connect(m_renderer, &PageRenderer::regionRendered, this, &PdfViewPrivate::onRegionRendered);
    connect(this, &PdfViewPrivate::scrollPositionChanged, m_view, &PdfView::scrollPositionChanged);
    connect(this, &PdfViewPrivate::openTexDocument, m_view, &PdfView::openTexDocument);
    connect(this, &PdfViewPrivate::mouseToolChanged, m_view, &PdfView::mouseToolChanged);
}

PdfViewPrivate::~PdfViewPrivate()
{
    setLinkCursor(false);
    if (m_toolActive)
        finishTool(QPoint(), false);
    close();
    delete m_renderer;  // waits for the running render jobs before the scene goes
    m_renderer = nullptr;
}

qreal PdfViewPrivate::scaleX() const
{
    return m_dpiX * m_zoom / 72.0;
}

qreal PdfViewPrivate::scaleY() const
{
    return m_dpiY * m_zoom / 72.0;
}

QRectF PdfViewPrivate::pageRect(int page) const
{
    return PageSceneRect(m_offsets, m_pageSizes.value(page), page, scaleX(), scaleY());
}

int PdfViewPrivate::pageAt(const QPointF& scenePoint) const
{
    const int page = PageAtPosition(m_offsets, scenePoint.y() / scaleY());
    if (page < 0 || !pageRect(page).contains(scenePoint))
        return -1;
    return page;
}

QPair<int, int> PdfViewPrivate::visibleRange() const
{
    const qreal top = m_view->mapToScene(0, 0).y() / scaleY();
    const qreal height = m_view->viewport()->height() / scaleY();
    return VisiblePageRange(m_offsets, qMax<qreal>(0, top), height);
}

// ---- Opening and closing

bool PdfViewPrivate::load(const QString& fileName)
{
    std::unique_ptr<Poppler::Document> document(Poppler::Document::load(fileName));
    if (!document || document->isLocked())
        return false;
    close();
    m_fileName = fileName;
    FileSettings settings(fileName);
    setZoomFactor(settings.value("ZoomFactor", m_zoom).toReal());
    m_showForms = settings.value("ShowForms", false).toBool();
    if (QAction* showForms = m_actionHandler ? m_actionHandler->existingAction(PdfView::ShowForms) : nullptr) {
        const QSignalBlocker blocker(showForms);
        showForms->setChecked(m_showForms);
    }
    m_document = document.release();
    m_document->setRenderHint(Poppler::Document::TextAntialiasing,
                              m_renderHints.testFlag(Poppler::Document::TextAntialiasing));
    m_document->setRenderHint(Poppler::Document::Antialiasing,
                              m_renderHints.testFlag(Poppler::Document::Antialiasing));
    m_document->setRenderBackend(m_renderBackend);
    readPages();
    m_renderer->setDocument(fileName, m_renderHints, m_renderBackend);
    layoutPages();
    connectScrollTracking();
    m_view->horizontalScrollBar()->setValue(settings.value("HorizontalScrollBarValue", 0).toInt());
    m_view->verticalScrollBar()->setValue(settings.value("VerticalScrollBarValue", 0).toInt());
    setPage(settings.value("Page", 0).toReal(), 0);
    if (m_pageSelector) {
        m_pageSelector->setPageLabels(m_pageLabels);
        m_pageSelector->setCurrentPage(qMax(0, m_currentPage));
        m_pageSelector->setEnabled(true);
    }
    if (m_bookmarksHandler) {
        m_bookmarksHandler->loadBookmarks(fileName);
        m_bookmarksHandler->toggleAction()->setEnabled(true);
    }
    if (m_actionHandler)
        m_actionHandler->setDocumentOpen(true);
    return true;
}

void PdfViewPrivate::readPages()
{
    const int count = qMax(0, m_document->numPages());
    for (int i = 0; i < count; ++i) {
        Poppler::Page* page = m_document->page(i);
        m_pages.append(page);
        m_pageItems.append(page ? new PageItem(page, this) : nullptr);
        const QSizeF size = page ? page->pageSizeF() : QSizeF();
        m_pageSizes.append(size.isEmpty() ? FallbackPageSize : size);
        const QString label = page ? page->label() : QString();
        m_pageLabels.append(label.isEmpty() ? QString::number(i + 1) : label);
    }
}

void PdfViewPrivate::close()
{
    if (!m_document)
        return;
    saveFileSettings();
    FileSettings::trim(m_fileSettingsLimit);
    m_renderer->clear();
    disconnectScrollTracking();
    m_scrollTimer.stop();
    m_currentPage = -1;
    m_lastPageAsked = -1;
    clearScene();
    qDeleteAll(m_pageItems);
    m_pageItems.clear();
    qDeleteAll(m_pages);
    m_pages.clear();
    delete m_document;
    m_document = nullptr;
    m_fileName.clear();
    m_pageLabels.clear();
    m_pageSizes.clear();
    m_offsets.clear();
    m_widestWidth = 0;
    m_textBoxesPage = -1;
    m_textBoxes.clear();
    m_scene->setSceneRect(0, 0, 1, 1);
    m_view->setSceneRect(0, 0, 1, 1);
    if (m_pageSelector) {
        m_pageSelector->setPageLabels(QStringList());
        m_pageSelector->setEnabled(false);
    }
    if (m_bookmarksHandler) {
        m_bookmarksHandler->clear();
        m_bookmarksHandler->toggleAction()->setEnabled(false);
    }
    if (m_actionHandler)
        m_actionHandler->setDocumentOpen(false);
}

void PdfViewPrivate::saveFileSettings()
{
    FileSettings settings(m_fileName);
    settings.setValue("HorizontalScrollBarValue", m_view->horizontalScrollBar()->value());
    settings.setValue("VerticalScrollBarValue", m_view->verticalScrollBar()->value());
    settings.setValue("ZoomFactor", m_zoom);
    settings.setValue("Page", pageNumber());
    settings.setValue("ShowForms", m_showForms);
    settings.sync();
    if (m_bookmarksHandler)
        m_bookmarksHandler->saveBookmarks(m_fileName);
}

// ---- Layout and zoom

void PdfViewPrivate::layoutPages()
{
    m_offsets = PageOffsets(m_pageSizes);
    m_widestWidth = WidestPageWidth(m_pageSizes);
    const int count = m_pageSizes.size();
    m_rendered.fill(false, count);
    m_pictures.fill(nullptr, count);
    m_formsPlaced.fill(false, count);
    QPen outlinePen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    for (int i = 0; i < count; ++i) {
        const QRectF rect = pageRect(i);
        m_scene->addRect(rect, QPen(), QBrush(Qt::white));
        QGraphicsRectItem* outline = m_scene->addRect(rect, outlinePen, Qt::NoBrush);
        outline->setZValue(1);
        outline->setData(0, i);
    }
    const QRectF sceneRect =
        count ? SceneRectFor(m_widestWidth, m_offsets.last(), scaleX(), scaleY()) : QRectF(0, 0, 1, 1);
    m_scene->setSceneRect(sceneRect);
    m_view->setSceneRect(sceneRect);
}

void PdfViewPrivate::clearScene()
{
    m_scene->clear();
    m_magnifierFrame = nullptr;
    m_magnifierPicture = nullptr;
    m_magnifierTicket = 0;
    m_selectionRect = nullptr;
    m_highlights.clear();
    m_selectedWords.clear();
    m_rendered.fill(false);
    m_pictures.fill(nullptr);
    m_formsPlaced.fill(false);
}

void PdfViewPrivate::setZoomFactor(qreal zoom)
{
    if (IsZoomChangeIgnored(m_zoom, zoom))
        return;
    zoom = ClampZoomFactor(zoom);
    m_zoom = zoom;
    if (m_zoomAction)
        m_zoomAction->setZoomFactor(zoom);
    emit m_view->zoomFactorChanged(zoom);
    if (!m_document)
        return;
    QScrollBar* horizontal = m_view->horizontalScrollBar();
    QScrollBar* vertical = m_view->verticalScrollBar();
    const int oldHorizontal = horizontal->value();
    const int oldHorizontalMax = horizontal->maximum();
    const int oldVertical = vertical->value();
    const int oldVerticalMax = vertical->maximum();
    m_renderer->invalidate();
    clearScene();
    layoutPages();
    if (oldHorizontalMax > 0)
        horizontal->setValue(ProportionalScrollValue(oldHorizontal, oldHorizontalMax, horizontal->maximum()));
    vertical->setValue(ProportionalScrollValue(oldVertical, oldVerticalMax, vertical->maximum()));
    if (oldVertical == 0 || oldVertical == oldVerticalMax) {
        setPage(oldVertical == 0 ? 0 : m_pageSizes.size() - 1, 0);
        vertical->setValue(ProportionalScrollValue(oldVertical, oldVerticalMax, vertical->maximum()));
    }
    renderVisiblePages();
}

void PdfViewPrivate::slotSetZoomFactor(qreal zoom)
{
    setZoomFactor(zoom);
}

// ---- Pages and scrolling

void PdfViewPrivate::setPage(qreal position, int mode)
{
    const int count = m_pageSizes.size();
    if (!m_document || count == 0)
        return;
    const int page = qBound(0, int(position), count - 1);
    const int oldPage = m_currentPage;
    m_lastPageAsked = page;
    m_currentPage = page;
    if (mode == 1) {
        renderVisiblePages();
        return;
    }
    QScrollBar* vertical = m_view->verticalScrollBar();
    disconnectScrollTracking();
    if (mode == 0)
        vertical->setValue(ScrollValueForPosition(m_offsets, position, scaleY()));
    else if (oldPage >= 0)
        vertical->setValue(vertical->value()
                           + int(std::lround((m_offsets.at(page) - m_offsets.at(oldPage)) * scaleY())));
    renderVisiblePages();
    updatePageState();
    connectScrollTracking();
}

qreal PdfViewPrivate::pageNumber() const
{
    if (m_currentPage < 0)
        return m_currentPage;
    return PositionForScrollValue(m_offsets, m_currentPage, m_view->verticalScrollBar()->value(), scaleY());
}

void PdfViewPrivate::slotSetPage(int pageIndex)
{
    setPage(pageIndex, 0);
}

void PdfViewPrivate::slotSetPage(double position)
{
    setPage(position, 0);
}

void PdfViewPrivate::connectScrollTracking()
{
    if (!m_scrollConnection)
        m_scrollConnection = connect(m_view->verticalScrollBar(), &QScrollBar::valueChanged, this,
                                     qOverload<int>(&PdfViewPrivate::slotVerticalPositionChanged));
}

void PdfViewPrivate::disconnectScrollTracking()
{
    disconnect(m_scrollConnection);
    m_scrollConnection = QMetaObject::Connection();
}

void PdfViewPrivate::slotVerticalPositionChanged(int)
{
    m_scrollTimer.start();
}

void PdfViewPrivate::slotVerticalPositionChanged()
{
    if (!m_document || m_pageSizes.isEmpty())
        return;
    const int page = PageAtPosition(m_offsets, TrackedPosition(m_view->verticalScrollBar()->value(), scaleY()));
    if (page != m_currentPage)
        setPage(page, 1);
    else
        renderVisiblePages();
    updatePageState();
}

void PdfViewPrivate::updatePageState()
{
    if (m_pageSelector)
        m_pageSelector->setCurrentPage(qMax(0, m_currentPage));
    if (m_bookmarksHandler)
        m_bookmarksHandler->setCurrentPosition(pageNumber());
    const QScrollBar* vertical = m_view->verticalScrollBar();
    const qreal fraction = vertical->maximum() > 0 ? qreal(vertical->value()) / vertical->maximum() : 0;
    emit scrollPositionChanged(fraction, m_currentPage);
}

// ---- Rendering

void PdfViewPrivate::renderVisiblePages()
{
    if (!m_document || m_pageSizes.isEmpty())
        return;
    const QPair<int, int> range = visibleRange();
    renderPages(range.first, range.second);
}

void PdfViewPrivate::renderPages(int first, int last)
{
    m_renderer->setWantedRange(first - PictureKeepDistance, last + PictureKeepDistance);
    const qreal dpr = m_view->devicePixelRatioF();
    for (int page = qMax(0, first); page <= last && page < m_rendered.size(); ++page) {
        if (!m_rendered.at(page))
            m_renderer->requestPage(page, m_dpiX * m_zoom, m_dpiY * m_zoom, dpr);
    }
    releaseFarPictures(first, last);
}

void PdfViewPrivate::releaseFarPictures(int first, int last)
{
    for (int page = 0; page < m_pictures.size(); ++page) {
        if (m_pictures.at(page) && IsPictureReleased(page, first, last)) {
            delete m_pictures.at(page);
            m_pictures[page] = nullptr;
            m_rendered[page] = false;
        }
    }
}

void PdfViewPrivate::onPageRendered(int page, const QImage& image)
{
    if (page < 0 || page >= m_rendered.size() || m_rendered.at(page) || image.isNull())
        return;
    const QPair<int, int> range = visibleRange();
    if (IsPictureReleased(page, range.first, range.second))
        return;
    QGraphicsPixmapItem* picture = m_scene->addPixmap(QPixmap::fromImage(image));
    picture->setTransformationMode(Qt::SmoothTransformation);
    picture->setPos(pageRect(page).topLeft());
    picture->setData(1, page);
    m_pictures[page] = picture;
    m_rendered[page] = true;
    if (m_showForms && !m_formsPlaced.at(page))
        placeFormWidgets(page);
}

void PdfViewPrivate::onPageSkipped(int page)
{
    const QPair<int, int> range = visibleRange();
    if (page >= range.first && page <= range.second)
        renderPages(range.first, range.second);
}

void PdfViewPrivate::placeFormWidgets(int page)
{
    PageItem* item = m_pageItems.value(page);
    if (!item)
        return;
    m_formsPlaced[page] = true;
    const QRectF rect = pageRect(page);
    for (const QPair<QWidget*, QRectF>& form : item->createFormWidgets()) {
        QGraphicsProxyWidget* proxy = m_scene->addWidget(form.first);
        const QRectF& field = form.second;
        proxy->setGeometry(QRectF(rect.x() + field.x() * rect.width(), rect.y() + field.y() * rect.height(),
                                  field.width() * rect.width(), field.height() * rect.height()));
        proxy->setZValue(4);
    }
}

void PdfViewPrivate::toggleShowForms(bool visible)
{
    m_showForms = visible;
    if (!m_document)
        return;
    const QString fileName = m_fileName;
    close();   // stores the flag and the position that load applies again
    load(fileName);
}

// ---- Actions and selectors

ActionHandler* PdfViewPrivate::actionHandler()
{
    if (!m_actionHandler)
        m_actionHandler = new ActionHandler(m_view, this);
    return m_actionHandler;
}

ZoomAction* PdfViewPrivate::zoomAction()
{
    if (!m_zoomAction) {
        m_zoomAction = new ZoomAction(m_view);
        m_zoomAction->setText(PdfView::tr("&Zoom"));
        m_zoomAction->setMinZoomFactor(MinZoomFactor);
        m_zoomAction->setMaxZoomFactor(MaxZoomFactor);
        m_zoomAction->setZoomFactor(m_zoom);
        connect(m_zoomAction, &ZoomAction::zoomFactorAdded, this, &PdfViewPrivate::slotSetZoomFactor);
    }
    return m_zoomAction;
}

SelectPageAction* PdfViewPrivate::pageSelector()
{
    if (!m_pageSelector) {
        m_pageSelector = new SelectPageAction(m_view);
        m_pageSelector->setPageLabels(m_pageLabels);
        m_pageSelector->setCurrentPage(qMax(0, m_currentPage));
        m_pageSelector->setEnabled(m_document != nullptr);
        connect(m_pageSelector, &SelectPageAction::pageSelected, this, qOverload<int>(&PdfViewPrivate::slotSetPage));
    }
    return m_pageSelector;
}

BookmarksHandler* PdfViewPrivate::bookmarksHandler()
{
    if (!m_bookmarksHandler) {
        m_bookmarksHandler = new BookmarksHandler(m_view);
        connect(m_bookmarksHandler, &BookmarksHandler::goToPosition, this,
                qOverload<double>(&PdfViewPrivate::slotSetPage));
        if (m_document)
            m_bookmarksHandler->loadBookmarks(m_fileName);
        m_bookmarksHandler->setCurrentPosition(pageNumber());
        m_bookmarksHandler->toggleAction()->setEnabled(m_document != nullptr);
    }
    return m_bookmarksHandler;
}

void PdfViewPrivate::openPageSelector()
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

void PdfViewPrivate::setMouseTool(PdfView::MouseTool tool)
{
    if (tool == m_mouseTool)
        return;
    m_mouseTool = tool;
    if (m_actionHandler)
        m_actionHandler->checkMouseTool(tool);
    emit mouseToolChanged(tool);
}

void PdfViewPrivate::slotSelectMouseTool()
{
    auto* action = qobject_cast<QAction*>(sender());
    if (!action)
        return;
    m_mouseTool = PdfView::MouseTool(action->data().toInt());
    emit mouseToolChanged(m_mouseTool);
}

// ---- Keys and wheel

bool PdfViewPrivate::hasFormFocus() const
{
    return qgraphicsitem_cast<QGraphicsProxyWidget*>(m_scene->focusItem()) != nullptr;
}

void PdfViewPrivate::keyPress(QKeyEvent* event)
{
    if (hasFormFocus())
        return;
    if (event->key() == Qt::Key_Space)
        m_view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    else if (event->key() == Qt::Key_Backspace)
        m_view->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
    else if (event->key() == Qt::Key_Escape)
        clearHighlights();
}

void PdfViewPrivate::wheel(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (event->modifiers() == Qt::ControlModifier) {
        setZoomFactor(delta > 0 ? ZoomedIn(m_zoom) : ZoomedOut(m_zoom));
        return;
    }
    QScrollBar* vertical = m_view->verticalScrollBar();
    vertical->setValue(vertical->value() + WheelScrollSteps(delta) * vertical->singleStep());
}

// ---- Mouse

Poppler::Link* PdfViewPrivate::linkAt(const QPointF& scenePoint) const
{
    const int page = pageAt(scenePoint);
    PageItem* item = m_pageItems.value(page);
    if (!item)
        return nullptr;
    const QRectF rect = pageRect(page);
    return item->linkAt(
        QPointF((scenePoint.x() - rect.x()) / rect.width(), (scenePoint.y() - rect.y()) / rect.height()));
}

bool PdfViewPrivate::isFormWidgetAt(const QPoint& viewPoint) const
{
    for (QGraphicsItem* item : m_view->items(viewPoint)) {
        if (qgraphicsitem_cast<QGraphicsProxyWidget*>(item))
            return true;
    }
    return false;
}

void PdfViewPrivate::setLinkCursor(bool on)
{
    if (on == m_linkCursor)
        return;
    m_linkCursor = on;
    if (on)
        QApplication::setOverrideCursor(Qt::PointingHandCursor);
    else
        QApplication::restoreOverrideCursor();
}

void PdfViewPrivate::updateLinkHover(QMouseEvent* event)
{
    const Poppler::Link* link = linkAt(m_view->mapToScene(event->pos()));
    const QString tip = link ? PageItem::toolTipFor(link) : QString();
    setLinkCursor(link != nullptr);
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPos(), tip, m_view);
}

bool PdfViewPrivate::followLink(const QPointF& scenePoint)
{
    const Poppler::Link* link = linkAt(scenePoint);
    if (!link)
        return false;
    if (link->linkType() == Poppler::Link::Browse) {
        const QString url = static_cast<const Poppler::LinkBrowse*>(link)->url();
        if (!url.isEmpty())
            QDesktopServices::openUrl(QUrl(url));
    } else if (link->linkType() == Poppler::Link::Goto) {
        const int page = static_cast<const Poppler::LinkGoto*>(link)->destination().pageNumber() - 1;
        if (page >= 0)
            setPage(page, 0);
    }
    return true;
}

void PdfViewPrivate::mousePress(QMouseEvent* event)
{
    if (m_scene->focusItem())
        m_scene->setFocusItem(nullptr);
    if (event->modifiers() == Qt::ControlModifier)
        return;
    if (isFormWidgetAt(event->pos())) {
        m_formPress = true;
        m_view->QGraphicsView::mousePressEvent(event);
        return;
    }
    setLinkCursor(false);
    if (m_toolActive)   // a release that never came
        finishTool(event->pos(), false);
    startTool(event->pos());
}

void PdfViewPrivate::startTool(const QPoint& viewPoint)
{
    const QPointF scenePoint = m_view->mapToScene(viewPoint);
    m_pressPos = viewPoint;
    m_lastMovePos = viewPoint;
    switch (m_mouseTool) {
    case PdfView::Browsing:
        QApplication::setOverrideCursor(Qt::ClosedHandCursor);
        break;
    case PdfView::Magnifying:
        showMagnifier(scenePoint);
        break;
    case PdfView::Selection:
        QApplication::setOverrideCursor(Qt::CrossCursor);
        delete m_selectionRect;
        m_selectionRect = m_scene->addRect(QRectF(scenePoint, QSizeF()), QPen(Qt::black, 1, Qt::DashLine));
        m_selectionRect->setZValue(3);
        m_selectionStart = scenePoint;
        break;
    case PdfView::TextSelection:
        QApplication::setOverrideCursor(Qt::IBeamCursor);
        m_selectionStart = scenePoint;
        break;
    }
    m_toolActive = true;
}

void PdfViewPrivate::mouseMove(QMouseEvent* event)
{
    if (!m_toolActive) {
        updateLinkHover(event);
        m_view->QGraphicsView::mouseMoveEvent(event);
        return;
    }
    moveTool(event->pos());
}

void PdfViewPrivate::moveTool(const QPoint& viewPoint)
{
    const QPointF scenePoint = m_view->mapToScene(viewPoint);
    switch (m_mouseTool) {
    case PdfView::Browsing:
        browse(viewPoint);
        break;
    case PdfView::Magnifying:
        showMagnifier(scenePoint);
        break;
    case PdfView::Selection:
        if (m_selectionRect)
            m_selectionRect->setRect(SelectionRect(m_selectionStart, scenePoint));
        break;
    case PdfView::TextSelection:
        selectText(scenePoint);
        break;
    }
}

void PdfViewPrivate::browse(const QPoint& viewPoint)
{
    const QPoint moved = viewPoint - m_lastMovePos;
    QScrollBar* horizontal = m_view->horizontalScrollBar();
    QScrollBar* vertical = m_view->verticalScrollBar();
    horizontal->setValue(qMax(0, horizontal->value() - moved.x()));
    vertical->setValue(qMax(0, vertical->value() - moved.y()));
    m_lastMovePos = viewPoint;
    const QPoint wrapped = WrappedCursorPosition(viewPoint, m_view->viewport()->size());
    if (wrapped != viewPoint) {
        QCursor::setPos(m_view->viewport()->mapToGlobal(wrapped));
        m_lastMovePos = wrapped;
    }
}

void PdfViewPrivate::mouseRelease(QMouseEvent* event)
{
    if (m_formPress) {
        m_formPress = false;
        m_view->QGraphicsView::mouseReleaseEvent(event);
        return;
    }
    if (!m_toolActive)
        return;
    const bool showMenus = event->modifiers() != Qt::ControlModifier;
    const bool click = (event->pos() - m_pressPos).manhattanLength() < QApplication::startDragDistance();
    const QPointF scenePoint = m_view->mapToScene(event->pos());
    if (showMenus && click && linkAt(scenePoint)) {
        finishTool(event->pos(), false);
        followLink(scenePoint);
        return;
    }
    finishTool(event->pos(), showMenus);
}

void PdfViewPrivate::finishTool(const QPoint& viewPoint, bool showMenus)
{
    m_toolActive = false;
    const QPoint globalPos = m_view->viewport()->mapToGlobal(viewPoint);
    switch (m_mouseTool) {
    case PdfView::Magnifying:
        hideMagnifier();
        break;
    case PdfView::Browsing:
        QApplication::restoreOverrideCursor();
        break;
    case PdfView::Selection: {
        QApplication::restoreOverrideCursor();
        const QRectF area = m_selectionRect ? m_selectionRect->rect() : QRectF();
        delete m_selectionRect;
        m_selectionRect = nullptr;
        if (showMenus && !area.isEmpty())
            showAreaMenu(globalPos, area);
        break;
    }
    case PdfView::TextSelection:
        QApplication::restoreOverrideCursor();
        if (showMenus && !m_selectedWords.isEmpty())
            showTextMenu(globalPos);
        clearHighlights();
        break;
    }
}

// ---- Magnifier

void PdfViewPrivate::showMagnifier(const QPointF& scenePoint)
{
    const QRectF frame(scenePoint - QPointF(MagnifierWidth / 2.0, MagnifierHeight / 2.0),
                       QSizeF(MagnifierWidth, MagnifierHeight));
    if (!m_magnifierFrame) {
        m_magnifierPicture = m_scene->addPixmap(QPixmap());
        m_magnifierPicture->setZValue(2);
        m_magnifierFrame = m_scene->addRect(QRectF(), QPen(Qt::black, 1), Qt::NoBrush);
        m_magnifierFrame->setZValue(3);
    }
    m_magnifierFrame->setRect(frame);
    m_magnifierFrame->show();
    m_magnifierPicture->show();
    m_magnifierPoint = scenePoint;
    if (m_magnifierTicket == 0)
        requestMagnifierPicture();
    else
        m_magnifierStale = true;   // asked again once the picture in flight is there
}

void PdfViewPrivate::requestMagnifierPicture()
{
    m_magnifierStale = false;
    const int page = pageAt(m_magnifierPoint);
    const QRectF rect = pageRect(page);
    // Only the part on the page is rendered: Poppler is not made for regions beyond it.
    const QRect region = MagnifierRegion(m_magnifierPoint, rect.topLeft());
    const QRect onPage = region & QRect(QPoint(0, 0), (rect.size() * 2).toSize());
    if (page < 0 || onPage.isEmpty()) {
        m_magnifierPicture->setPixmap(QPixmap());
        return;
    }
    m_magnifierTicket = m_renderer->requestRegion(page, 2 * m_dpiX * m_zoom, 2 * m_dpiY * m_zoom, onPage);
    const QPointF frameTopLeft = m_magnifierPoint - QPointF(MagnifierWidth / 2.0, MagnifierHeight / 2.0);
    m_magnifierPicture->setData(2, frameTopLeft + QPointF(onPage.topLeft() - region.topLeft()));
}

void PdfViewPrivate::onRegionRendered(int ticket, const QImage& image)
{
    if (ticket != m_magnifierTicket || !m_magnifierPicture)
        return;
    m_magnifierTicket = 0;
    m_magnifierPicture->setPixmap(QPixmap::fromImage(image));
    m_magnifierPicture->setOffset(m_magnifierPicture->data(2).toPointF());
    if (m_magnifierStale && m_toolActive && m_mouseTool == PdfView::Magnifying)
        requestMagnifierPicture();
}

void PdfViewPrivate::hideMagnifier()
{
    m_magnifierTicket = 0;
    m_magnifierStale = false;
    if (!m_magnifierFrame)
        return;
    m_magnifierFrame->hide();
    m_magnifierPicture->hide();
    m_magnifierPicture->setPixmap(QPixmap());
}

// ---- Selections

QList<QPair<QRectF, QString>> PdfViewPrivate::textBoxes(int page)
{
    if (page == m_textBoxesPage)
        return m_textBoxes;
    m_textBoxes.clear();
    m_textBoxesPage = page;
    Poppler::Page* popplerPage = m_pages.value(page);
    if (!popplerPage)
        return m_textBoxes;
    const QList<Poppler::TextBox*> boxes = popplerPage->textList();
    for (const Poppler::TextBox* box : boxes)
        m_textBoxes.append(qMakePair(box->boundingBox(), box->text()));
    qDeleteAll(boxes);
    return m_textBoxes;
}

void PdfViewPrivate::selectText(const QPointF& scenePoint)
{
    const QRectF selection = SelectionRect(m_selectionStart, scenePoint);
    const int page = pageAt(selection.center());
    if (page < 0)
        return;
    const QRectF rect = pageRect(page);
    const qreal sx = scaleX();
    const qreal sy = scaleY();
    const QRectF inPoints((selection.x() - rect.x()) / sx, (selection.y() - rect.y()) / sy,
                          selection.width() / sx, selection.height() / sy);
    clearHighlights();
    const QList<QPair<QRectF, QString>> boxes = textBoxes(page);
    QList<QRectF> rects;
    for (const auto& box : boxes)
        rects.append(box.first);
    for (int index : SelectedTextBoxes(rects, inPoints)) {
        const QRectF& box = rects.at(index);
        QGraphicsRectItem* highlight = m_scene->addRect(
            QRectF(rect.x() + box.x() * sx, rect.y() + box.y() * sy, box.width() * sx, box.height() * sy),
            Qt::NoPen, QColor(100, 160, 255, 100));
        highlight->setZValue(2);
        m_highlights.append(highlight);
        m_selectedWords.append(boxes.at(index).second);
    }
}

void PdfViewPrivate::clearHighlights()
{
    qDeleteAll(m_highlights);
    m_highlights.clear();
    m_selectedWords.clear();
}

QImage PdfViewPrivate::areaImage(const QRectF& sceneRect) const
{
    QImage image(sceneRect.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    m_scene->render(&painter, QRectF(image.rect()), sceneRect);
    return image;
}

QString PdfViewPrivate::areaText(const QRectF& sceneRect) const
{
    const int page = pageAt(sceneRect.center());
    Poppler::Page* popplerPage = m_pages.value(page);
    if (!popplerPage)
        return QString();
    const QRectF rect = pageRect(page);
    return popplerPage->text(QRectF((sceneRect.x() - rect.x()) / scaleX(), (sceneRect.y() - rect.y()) / scaleY(),
                                    sceneRect.width() / scaleX(), sceneRect.height() / scaleY()));
}

void PdfViewPrivate::showAreaMenu(const QPoint& globalPos, const QRectF& sceneRect)
{
    QMenu menu(m_view);
    QAction* copyImage = menu.addAction(PdfView::tr("Copy &Image to Clipboard"));
    QAction* saveImage = menu.addAction(PdfView::tr("&Save Image to File..."));
    QAction* copyText = menu.addAction(PdfView::tr("Copy &Text to Clipboard"));
    menu.addAction(PdfView::tr("&Cancel"));
    QAction* chosen = menu.exec(globalPos);
    if (chosen == copyImage)
        PutOnClipboard(areaImage(sceneRect));
    else if (chosen == saveImage)
        saveAreaImage(areaImage(sceneRect));
    else if (chosen == copyText)
        PutOnClipboard(areaText(sceneRect));
}

void PdfViewPrivate::saveAreaImage(const QImage& image)
{
    const QFileInfo document(m_fileName);
    const QString proposed = document.absolutePath() + "/" + document.completeBaseName() + ".png";
    const QString filter =
        PdfView::tr("%1 (*.png *.bmp *.gif *.jpg *.jpeg *.tiff *.xpm)").arg(PdfView::tr("Supported image files"));
    const QString fileName = QFileDialog::getSaveFileName(m_view, PdfView::tr("Save image as"), proposed, filter);
    if (fileName.isEmpty())
        return;
    if (!image.save(fileName))
        QMessageBox::warning(m_view, PdfView::tr("File save error"), PdfView::tr("Cannot save image to:\n") + fileName);
}

void PdfViewPrivate::showTextMenu(const QPoint& globalPos)
{
    QMenu menu(m_view);
    QAction* copyText = menu.addAction(PdfView::tr("Copy &Text to Clipboard"));
    menu.addSeparator();
    menu.addAction(PdfView::tr("&Cancel"));
    if (menu.exec(globalPos) == copyText)
        PutOnClipboard(m_selectedWords.join(' '));
}

void PdfViewPrivate::contextMenu(QContextMenuEvent* event)
{
    QMenu menu(m_view);
    if (m_actionHandler) {
        if (QAction* zoomIn = m_actionHandler->existingAction(PdfView::ZoomIn))
            menu.addAction(zoomIn);
        if (QAction* zoomOut = m_actionHandler->existingAction(PdfView::ZoomOut))
            menu.addAction(zoomOut);
    }
    if (!m_extraActions.isEmpty()) {
        menu.addSeparator();
        menu.addActions(m_extraActions);
    }
    if (!menu.actions().isEmpty())
        menu.exec(event->globalPos());
}

// ---- Printing

void PdfViewPrivate::print()
{
    if (!m_document || m_pages.isEmpty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(QFileInfo(m_fileName).fileName());
    printer.setFromTo(1, m_pages.size());
    QPrintDialog dialog(&printer, m_view);
    dialog.setMinMax(1, m_pages.size());
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int first = printer.fromPage() > 0 ? printer.fromPage() - 1 : 0;
    const int last = printer.toPage() > 0 ? qMin(printer.toPage(), m_pages.size()) - 1 : m_pages.size() - 1;
    const qreal resolution = qMin(printer.resolution(), 300);
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    for (int page = first; page <= last; ++page) {
        if (page > first)
            printer.newPage();
        if (!m_pages.at(page))
            continue;
        const QSizeF pixels = m_pageSizes.at(page) * resolution / 72;
        const qreal cap = PictureCapScale(pixels);
        const QImage image = m_pages.at(page)->renderToImage(resolution * cap, resolution * cap);
        if (image.isNull())
            continue;
        const QRect target = painter.viewport();
        const QSize size = image.size().scaled(target.size(), Qt::KeepAspectRatio);
        painter.drawImage(QRect(target.topLeft(), size), image);
    }
    painter.end();
}

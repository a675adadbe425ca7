#include "pdf/pdfviewprivate.h"

#include "pdf/filesettings.h"
#include "pdf/pageitem.h"
#include "pdf/pagerenderer.h"
#include "pdf/pdflayout.h"
#include "pdf/pdfmousetools.h"
#include "pdf/pdfopener.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDesktopWidget>
#include <QFileInfo>
#include <QGraphicsPixmapItem>
#include <QGraphicsProxyWidget>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScrollBar>
#include <QWheelEvent>

#include <cmath>
#include <memory>

PdfViewPrivate::PdfViewPrivate(PdfView* view)
    : QObject(view), m_view(view), m_scene(new QGraphicsScene(this)), m_renderer(new PageRenderer(this)),
      m_tools(new PdfMouseTools(view, m_renderer, this)), m_opener(new PdfOpener(this))
{
    m_dpiX = QApplication::desktop()->physicalDpiX();
    m_dpiY = QApplication::desktop()->physicalDpiY();
    m_renderHints = Poppler::Document::Antialiasing | Poppler::Document::TextAntialiasing;
    m_renderBackend = Poppler::Document::SplashBackend;
    m_view->setScene(m_scene);
    m_scrollTimer.setSingleShot(true);
    m_scrollTimer.setInterval(0);
    connect(&m_scrollTimer, &QTimer::timeout, this, qOverload<>(&PdfViewPrivate::slotVerticalPositionChanged));
    connect(m_opener, &PdfOpener::firstPagesRead, this, &PdfViewPrivate::showFirstPages);
    connect(m_opener, &PdfOpener::opened, this, &PdfViewPrivate::show);
    connect(m_opener, &PdfOpener::failed, m_view, &PdfView::loadFailed);
    connect(m_renderer, &PageRenderer::pageRendered, this, &PdfViewPrivate::onPageRendered);
    connect(m_renderer, &PageRenderer::pageSkipped, this, &PdfViewPrivate::onPageSkipped);
    connect(m_tools, &PdfMouseTools::pageRequested, this, &PdfViewPrivate::slotSetPage);
    connect(this, &PdfViewPrivate::scrollPositionChanged, m_view, &PdfView::scrollPositionChanged);
    connect(this, &PdfViewPrivate::openTexDocument, m_view, &PdfView::openTexDocument);
}

PdfViewPrivate::~PdfViewPrivate()
{
    m_tools->cancel();
    close();
    delete m_renderer; // waits for the running render jobs before the scene goes
    m_renderer = nullptr;
}

qreal PdfViewPrivate::scaleX() const { return m_dpiX * m_zoom / 72.0; }

qreal PdfViewPrivate::scaleY() const { return m_dpiY * m_zoom / 72.0; }

QPair<int, int> PdfViewPrivate::visibleRange() const
{
    const qreal top = m_view->mapToScene(0, 0).y() / scaleY();
    const qreal height = m_view->viewport()->height() / scaleY();
    return VisiblePageRange(m_geometry.offsets(), qMax<qreal>(0, top), height);
}

// ---- Opening and closing

void PdfViewPrivate::load(const QString& fileName) { m_opener->open(fileName); }

void PdfViewPrivate::showFirstPages(const QString& fileName, const QVector<QSizeF>& pageSizes)
{
    clearDocument();
    beginShowing(fileName, pageSizes);
    emit m_view->documentChanged(fileName);
}

// A long document is on screen already, laid out from its first pages.
void PdfViewPrivate::show(const std::shared_ptr<OpenedPdf>& opened)
{
    const QString fileName = opened->fileName;
    const bool shownFirst = !m_document && !m_fileName.isEmpty() && m_fileName == fileName;
    if (!shownFirst)
        clearDocument();
    m_file = std::move(opened->file);
    m_document = opened->document.release();
    m_document->setRenderHint(Poppler::Document::TextAntialiasing,
                              m_renderHints.testFlag(Poppler::Document::TextAntialiasing));
    m_document->setRenderHint(Poppler::Document::Antialiasing, m_renderHints.testFlag(Poppler::Document::Antialiasing));
    m_document->setRenderBackend(m_renderBackend);
    m_pages = opened->pages;
    opened->pages.clear();
    m_pageLabels = opened->pageLabels;
    for (Poppler::Page* page : qAsConst(m_pages))
        m_pageItems.append(page ? new PageItem(page, this) : nullptr);
    m_tools->setDocument(fileName, m_pages, m_pageItems);
    if (shownFirst)
        keepShowing(opened->pageSizes);
    else
        beginShowing(fileName, opened->pageSizes);
    emit m_view->documentChanged(fileName);
}

// Lays the pages out and goes where the user left the document.
void PdfViewPrivate::beginShowing(const QString& fileName, const QVector<QSizeF>& pageSizes)
{
    m_fileName = fileName;
    FileSettings settings(fileName);
    setZoomFactor(settings.value("ZoomFactor", m_zoom).toReal());
    m_showForms = settings.value("ShowForms", false).toBool();
    m_renderer->setDocument(fileName, m_renderHints, m_renderBackend);
    m_pageSizes = pageSizes;
    layoutPages();
    connectScrollTracking();
    m_view->horizontalScrollBar()->setValue(settings.value("HorizontalScrollBarValue", 0).toInt());
    m_view->verticalScrollBar()->setValue(settings.value("VerticalScrollBarValue", 0).toInt());
    setPage(settings.value("Page", 0).toReal(), 0);
}

// What was laid out from the first pages stays unless a page's size was assumed wrong.
void PdfViewPrivate::keepShowing(const QVector<QSizeF>& pageSizes)
{
    if (m_pageSizes != pageSizes)
        layOutAgain(pageSizes);
    else
        placeMissingForms();
}

void PdfViewPrivate::layOutAgain(const QVector<QSizeF>& pageSizes)
{
    const qreal position = pageNumber();
    m_pageSizes = pageSizes;
    m_renderer->invalidate();
    clearScene();
    layoutPages();
    setPage(position, 0);
}

void PdfViewPrivate::placeMissingForms()
{
    for (int page = 0; m_showForms && page < m_rendered.size(); ++page) {
        if (m_rendered.at(page) && !m_formsPlaced.at(page))
            placeFormWidgets(page);
    }
}

void PdfViewPrivate::close()
{
    m_opener->cancel();
    clearDocument();
}

void PdfViewPrivate::clearDocument()
{
    if (m_fileName.isEmpty())
        return;
    saveFileSettings();
    FileSettings::trim(m_fileSettingsLimit);
    m_renderer->clear();
    disconnectScrollTracking();
    m_scrollTimer.stop();
    m_currentPage = -1;
    m_lastPageAsked = -1;
    clearScene();
    m_tools->setDocument(QString(), {}, {});
    qDeleteAll(m_pageItems);
    m_pageItems.clear();
    disposeDocument();
    m_fileName.clear();
    m_pageLabels.clear();
    m_pageSizes.clear();
    m_geometry = PageGeometry();
    m_tools->setGeometry(m_geometry);
    m_scene->setSceneRect(0, 0, 1, 1);
    m_view->setSceneRect(0, 0, 1, 1);
    emit m_view->documentChanged(QString());
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
}

// ---- Layout and zoom

void PdfViewPrivate::layoutPages()
{
    m_geometry = PageGeometry(m_pageSizes, scaleX(), scaleY());
    m_tools->setGeometry(m_geometry);
    const int count = m_pageSizes.size();
    m_rendered.fill(false, count);
    m_pictures.fill(nullptr, count);
    m_formsPlaced.fill(false, count);
    QPen outlinePen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin);
    for (int i = 0; i < count; ++i) {
        const QRectF rect = m_geometry.pageRect(i);
        m_scene->addRect(rect, QPen(), QBrush(Qt::white));
        QGraphicsRectItem* outline = m_scene->addRect(rect, outlinePen, Qt::NoBrush);
        outline->setZValue(1);
        outline->setData(0, i);
    }
    const QRectF sceneRect = m_geometry.sceneRect();
    m_scene->setSceneRect(sceneRect);
    m_view->setSceneRect(sceneRect);
}

void PdfViewPrivate::clearScene()
{
    m_scene->clear();
    m_tools->forgetSceneItems();
    m_rendered.fill(false);
    m_pictures.fill(nullptr);
    m_formsPlaced.fill(false);
}

// Freeing a long document's pages takes a while: that is done beside the window.
void PdfViewPrivate::disposeDocument()
{
    auto left = std::make_shared<OpenedPdf>();
    left->pages = m_pages;
    m_pages.clear();
    left->document.reset(m_document);
    m_document = nullptr;
    if (m_file) {
        m_file->moveToThread(nullptr); // so that another thread may delete it
        left->file = std::move(m_file);
    }
    m_opener->dispose(std::move(left)); // no reference left here to free it on this thread
}

void PdfViewPrivate::setZoomFactor(qreal zoom)
{
    if (IsZoomChangeIgnored(m_zoom, zoom))
        return;
    zoom = ClampZoomFactor(zoom);
    m_zoom = zoom;
    emit m_view->zoomFactorChanged(zoom);
    if (m_pageSizes.isEmpty())
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

// ---- Pages and scrolling

void PdfViewPrivate::setPage(qreal position, int mode)
{
    const int count = m_pageSizes.size();
    if (count == 0)
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
    const QVector<qreal>& offsets = m_geometry.offsets();
    disconnectScrollTracking();
    if (mode == 0)
        vertical->setValue(ScrollValueForPosition(offsets, position, scaleY()));
    else if (oldPage >= 0)
        vertical->setValue(vertical->value() + int(std::lround((offsets.at(page) - offsets.at(oldPage)) * scaleY())));
    renderVisiblePages();
    updatePageState();
    connectScrollTracking();
}

qreal PdfViewPrivate::pageNumber() const
{
    if (m_currentPage < 0)
        return m_currentPage;
    return PositionForScrollValue(m_geometry.offsets(), m_currentPage, m_view->verticalScrollBar()->value(), scaleY());
}

void PdfViewPrivate::slotSetPage(int pageIndex) { setPage(pageIndex, 0); }

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

void PdfViewPrivate::slotVerticalPositionChanged(int) { m_scrollTimer.start(); }

void PdfViewPrivate::slotVerticalPositionChanged()
{
    if (m_pageSizes.isEmpty())
        return;
    const qreal position = TrackedPosition(m_view->verticalScrollBar()->value(), scaleY());
    const int page = PageAtPosition(m_geometry.offsets(), position);
    if (page != m_currentPage)
        setPage(page, 1);
    else
        renderVisiblePages();
    updatePageState();
}

void PdfViewPrivate::updatePageState()
{
    const QScrollBar* vertical = m_view->verticalScrollBar();
    const qreal fraction = vertical->maximum() > 0 ? qreal(vertical->value()) / vertical->maximum() : 0;
    emit scrollPositionChanged(fraction, m_currentPage);
}

// ---- Rendering

void PdfViewPrivate::renderVisiblePages()
{
    if (m_pageSizes.isEmpty())
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
    picture->setPos(m_geometry.pageRect(page).topLeft());
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
    const QRectF rect = m_geometry.pageRect(page);
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
    close(); // stores the flag and the position that load applies again
    load(fileName);
}

void PdfViewPrivate::setMouseTool(PdfView::MouseTool tool)
{
    if (tool == m_tools->tool())
        return;
    m_tools->setTool(tool);
    emit m_view->mouseToolChanged(tool);
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
        m_tools->clearHighlights();
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

void PdfViewPrivate::contextMenu(QContextMenuEvent* event)
{
    QMenu menu(m_view);
    emit m_view->contextMenuAboutToShow(&menu);
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

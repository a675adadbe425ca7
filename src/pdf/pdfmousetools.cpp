#include "pdf/pdfmousetools.h"

#include "pdf/pageitem.h"
#include "pdf/pagerenderer.h"
#include "pdf/pdflayout.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGraphicsPixmapItem>
#include <QGraphicsProxyWidget>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QUrl>

#include <poppler-qt5.h>

namespace {

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

} // namespace

PdfMouseTools::PdfMouseTools(PdfView* view, PageRenderer* renderer, QObject* parent)
    : QObject(parent), m_view(view), m_renderer(renderer)
{
    connect(m_renderer, &PageRenderer::regionRendered, this, &PdfMouseTools::onRegionRendered);
}

void PdfMouseTools::setDocument(const QString& fileName, const QList<Poppler::Page*>& pages,
                                const QList<PageItem*>& items)
{
    m_fileName = fileName;
    m_pages = pages;
    m_pageItems = items;
    m_textBoxesPage = -1;
    m_textBoxes.clear();
}

void PdfMouseTools::setGeometry(const PageGeometry& geometry) { m_geometry = geometry; }

void PdfMouseTools::forgetSceneItems()
{
    m_magnifierFrame = nullptr;
    m_magnifierPicture = nullptr;
    m_magnifierTicket = 0;
    m_selectionRect = nullptr;
    m_highlights.clear();
    m_selectedWords.clear();
}

void PdfMouseTools::cancel()
{
    setLinkCursor(false);
    if (m_toolActive)
        finishTool(QPoint(), false);
}

// ---- Links and form fields

Poppler::Link* PdfMouseTools::linkAt(const QPointF& scenePoint) const
{
    const int page = m_geometry.pageAt(scenePoint);
    PageItem* item = m_pageItems.value(page);
    return item ? item->linkAt(m_geometry.toPageFraction(page, scenePoint)) : nullptr;
}

bool PdfMouseTools::isFormWidgetAt(const QPoint& viewPoint) const
{
    for (QGraphicsItem* item : m_view->items(viewPoint)) {
        if (qgraphicsitem_cast<QGraphicsProxyWidget*>(item))
            return true;
    }
    return false;
}

void PdfMouseTools::setLinkCursor(bool on)
{
    if (on == m_linkCursor)
        return;
    m_linkCursor = on;
    if (on)
        QApplication::setOverrideCursor(Qt::PointingHandCursor);
    else
        QApplication::restoreOverrideCursor();
}

void PdfMouseTools::updateLinkHover(QMouseEvent* event)
{
    const Poppler::Link* link = linkAt(m_view->mapToScene(event->pos()));
    const QString tip = link ? PageItem::toolTipFor(link) : QString();
    setLinkCursor(link != nullptr);
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPos(), tip, m_view);
}

void PdfMouseTools::followLink(const QPointF& scenePoint)
{
    const Poppler::Link* link = linkAt(scenePoint);
    if (!link)
        return;
    if (link->linkType() == Poppler::Link::Browse) {
        const QString url = static_cast<const Poppler::LinkBrowse*>(link)->url();
        if (!url.isEmpty())
            QDesktopServices::openUrl(QUrl(url));
    } else if (link->linkType() == Poppler::Link::Goto) {
        const int page = static_cast<const Poppler::LinkGoto*>(link)->destination().pageNumber() - 1;
        if (page >= 0)
            emit pageRequested(page);
    }
}

// ---- The mouse

bool PdfMouseTools::mousePress(QMouseEvent* event)
{
    QGraphicsScene* scene = m_view->scene();
    if (scene->focusItem())
        scene->setFocusItem(nullptr);
    if (event->modifiers() == Qt::ControlModifier)
        return true;
    if (isFormWidgetAt(event->pos())) {
        m_formPress = true;
        return false;
    }
    setLinkCursor(false);
    if (m_toolActive) // a release that never came
        finishTool(event->pos(), false);
    startTool(event->pos());
    return true;
}

bool PdfMouseTools::mouseMove(QMouseEvent* event)
{
    if (!m_toolActive) {
        updateLinkHover(event);
        return false;
    }
    moveTool(event->pos());
    return true;
}

bool PdfMouseTools::mouseRelease(QMouseEvent* event)
{
    if (m_formPress) {
        m_formPress = false;
        return false;
    }
    if (!m_toolActive)
        return true;
    const bool showMenus = event->modifiers() != Qt::ControlModifier;
    const bool click = (event->pos() - m_pressPos).manhattanLength() < QApplication::startDragDistance();
    const QPointF scenePoint = m_view->mapToScene(event->pos());
    if (showMenus && click && linkAt(scenePoint)) {
        finishTool(event->pos(), false);
        followLink(scenePoint);
        return true;
    }
    finishTool(event->pos(), showMenus);
    return true;
}

void PdfMouseTools::startTool(const QPoint& viewPoint)
{
    const QPointF scenePoint = m_view->mapToScene(viewPoint);
    m_pressPos = viewPoint;
    m_lastMovePos = viewPoint;
    switch (m_tool) {
    case PdfView::Browsing:
        QApplication::setOverrideCursor(Qt::ClosedHandCursor);
        break;
    case PdfView::Magnifying:
        showMagnifier(scenePoint);
        break;
    case PdfView::Selection:
        QApplication::setOverrideCursor(Qt::CrossCursor);
        delete m_selectionRect;
        m_selectionRect = m_view->scene()->addRect(QRectF(scenePoint, QSizeF()), QPen(Qt::black, 1, Qt::DashLine));
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

void PdfMouseTools::moveTool(const QPoint& viewPoint)
{
    const QPointF scenePoint = m_view->mapToScene(viewPoint);
    switch (m_tool) {
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

void PdfMouseTools::browse(const QPoint& viewPoint)
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

void PdfMouseTools::finishTool(const QPoint& viewPoint, bool showMenus)
{
    m_toolActive = false;
    const QPoint globalPos = m_view->viewport()->mapToGlobal(viewPoint);
    switch (m_tool) {
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

void PdfMouseTools::showMagnifier(const QPointF& scenePoint)
{
    const QRectF frame(scenePoint - QPointF(MagnifierWidth / 2.0, MagnifierHeight / 2.0),
                       QSizeF(MagnifierWidth, MagnifierHeight));
    if (!m_magnifierFrame) {
        m_magnifierPicture = m_view->scene()->addPixmap(QPixmap());
        m_magnifierPicture->setZValue(2);
        m_magnifierFrame = m_view->scene()->addRect(QRectF(), QPen(Qt::black, 1), Qt::NoBrush);
        m_magnifierFrame->setZValue(3);
    }
    m_magnifierFrame->setRect(frame);
    m_magnifierFrame->show();
    m_magnifierPicture->show();
    m_magnifierPoint = scenePoint;
    if (m_magnifierTicket == 0)
        requestMagnifierPicture();
    else
        m_magnifierStale = true; // asked again once the picture in flight is there
}

void PdfMouseTools::requestMagnifierPicture()
{
    m_magnifierStale = false;
    const int page = m_geometry.pageAt(m_magnifierPoint);
    const QRectF rect = m_geometry.pageRect(page);
    // Only the part on the page is rendered: Poppler is not made for regions beyond it.
    const QRect region = MagnifierRegion(m_magnifierPoint, rect.topLeft());
    const QRect onPage = region & QRect(QPoint(0, 0), (rect.size() * 2).toSize());
    if (page < 0 || onPage.isEmpty()) {
        m_magnifierPicture->setPixmap(QPixmap());
        return;
    }
    // Twice the view's resolution, the scale being pixels per point (1/72 inch).
    m_magnifierTicket = m_renderer->requestRegion(page, 144 * m_geometry.scaleX(), 144 * m_geometry.scaleY(), onPage);
    const QPointF frameTopLeft = m_magnifierPoint - QPointF(MagnifierWidth / 2.0, MagnifierHeight / 2.0);
    m_magnifierPicture->setData(2, frameTopLeft + QPointF(onPage.topLeft() - region.topLeft()));
}

void PdfMouseTools::onRegionRendered(int ticket, const QImage& image)
{
    if (ticket != m_magnifierTicket || !m_magnifierPicture)
        return;
    m_magnifierTicket = 0;
    m_magnifierPicture->setPixmap(QPixmap::fromImage(image));
    m_magnifierPicture->setOffset(m_magnifierPicture->data(2).toPointF());
    if (m_magnifierStale && m_toolActive && m_tool == PdfView::Magnifying)
        requestMagnifierPicture();
}

void PdfMouseTools::hideMagnifier()
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

QList<QPair<QRectF, QString>> PdfMouseTools::textBoxes(int page)
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

void PdfMouseTools::selectText(const QPointF& scenePoint)
{
    const QRectF selection = SelectionRect(m_selectionStart, scenePoint);
    const int page = m_geometry.pageAt(selection.center());
    if (page < 0)
        return;
    clearHighlights();
    const QList<QPair<QRectF, QString>> boxes = textBoxes(page);
    QList<QRectF> rects;
    for (const auto& box : boxes)
        rects.append(box.first);
    for (int index : SelectedTextBoxes(rects, m_geometry.toPagePoints(page, selection))) {
        QGraphicsRectItem* highlight =
            m_view->scene()->addRect(m_geometry.toScene(page, rects.at(index)), Qt::NoPen, QColor(100, 160, 255, 100));
        highlight->setZValue(2);
        m_highlights.append(highlight);
        m_selectedWords.append(boxes.at(index).second);
    }
}

void PdfMouseTools::clearHighlights()
{
    qDeleteAll(m_highlights);
    m_highlights.clear();
    m_selectedWords.clear();
}

QImage PdfMouseTools::areaImage(const QRectF& sceneRect) const
{
    QImage image(sceneRect.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    QPainter painter(&image);
    m_view->scene()->render(&painter, QRectF(image.rect()), sceneRect);
    return image;
}

QString PdfMouseTools::areaText(const QRectF& sceneRect) const
{
    const int page = m_geometry.pageAt(sceneRect.center());
    Poppler::Page* popplerPage = m_pages.value(page);
    return popplerPage ? popplerPage->text(m_geometry.toPagePoints(page, sceneRect)) : QString();
}

void PdfMouseTools::showAreaMenu(const QPoint& globalPos, const QRectF& sceneRect)
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

void PdfMouseTools::saveAreaImage(const QImage& image)
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

void PdfMouseTools::showTextMenu(const QPoint& globalPos)
{
    QMenu menu(m_view);
    QAction* copyText = menu.addAction(PdfView::tr("Copy &Text to Clipboard"));
    menu.addSeparator();
    menu.addAction(PdfView::tr("&Cancel"));
    if (menu.exec(globalPos) == copyText)
        PutOnClipboard(m_selectedWords.join(' '));
}

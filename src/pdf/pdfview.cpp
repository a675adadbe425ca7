#include "pdf/pdfview.h"

#include "pdf/pdflayout.h"
#include "pdf/pdfmousetools.h"
#include "pdf/pdfopener.h"
#include "pdf/pdfviewprivate.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

PdfView::PdfView(QWidget* parent) : QGraphicsView(parent), d(new PdfViewPrivate(this))
{
    qRegisterMetaType<PdfView::MouseTool>();
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
}

PdfView::~PdfView()
{
    // Closing the document announces it; the owner may be half destroyed already.
    blockSignals(true);
    delete d; // needs the scroll bars, which the base classes destroy
    d = nullptr;
}

void PdfView::load(const QString& fileName) { d->load(fileName); }

void PdfView::setOpenTimeLimit(int milliseconds) { d->m_opener->setTimeLimit(milliseconds); }

void PdfView::close() { d->close(); }

void PdfView::setZoomFactor(qreal value) { d->setZoomFactor(value); }

qreal PdfView::zoomFactor() const { return d->m_zoom; }

void PdfView::setPage(qreal position, int mode) { d->setPage(position, mode); }

qreal PdfView::pageNumber() const { return d->pageNumber(); }

void PdfView::setMouseTool(MouseTool tool) { d->setMouseTool(tool); }

PdfView::MouseTool PdfView::mouseTool() const { return d->mouseTools()->tool(); }

void PdfView::setMaximumFileSettingsCacheSize(qint64 bytes) { d->m_fileSettingsLimit = bytes; }

void PdfView::addContextMenuAction(QAction* action) { d->m_extraActions.append(action); }

int PdfView::pageCount() const { return d->m_pageSizes.size(); }

QString PdfView::fileName() const { return d->m_fileName; }

QStringList PdfView::pageLabels() const { return d->m_pageLabels; }

bool PdfView::showForms() const { return d->m_showForms; }

void PdfView::slotToggleShowForms(bool visible) { d->toggleShowForms(visible); }

void PdfView::slotZoomIn() { d->setZoomFactor(ZoomedIn(d->m_zoom)); }

void PdfView::slotZoomOut() { d->setZoomFactor(ZoomedOut(d->m_zoom)); }

void PdfView::slotGoToStartOfDocument() { verticalScrollBar()->setValue(0); }

void PdfView::slotGoToEndOfDocument() { verticalScrollBar()->setValue(verticalScrollBar()->maximum()); }

void PdfView::slotGoToPreviousPage()
{
    if (d->m_currentPage > 0)
        d->setPage(d->m_currentPage - 1, 0);
}

void PdfView::slotGoToNextPage()
{
    if (d->m_currentPage >= 0 && d->m_currentPage < pageCount() - 1)
        d->setPage(d->m_currentPage + 1, 0);
}

void PdfView::slotPrint() { d->print(); }

void PdfView::keyPressEvent(QKeyEvent* event)
{
    d->keyPress(event);
    QGraphicsView::keyPressEvent(event);
}

void PdfView::wheelEvent(QWheelEvent* event)
{
    if (event->angleDelta().y() == 0) {
        QGraphicsView::wheelEvent(event);
        return;
    }
    d->wheel(event);
    event->accept();
}

void PdfView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !d->mouseTools()->mousePress(event))
        QGraphicsView::mousePressEvent(event);
}

void PdfView::mouseMoveEvent(QMouseEvent* event)
{
    if (!d->mouseTools()->mouseMove(event))
        QGraphicsView::mouseMoveEvent(event);
}

void PdfView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !d->mouseTools()->mouseRelease(event))
        QGraphicsView::mouseReleaseEvent(event);
}

void PdfView::contextMenuEvent(QContextMenuEvent* event) { d->contextMenu(event); }

void PdfView::resizeEvent(QResizeEvent* event)
{
    QGraphicsView::resizeEvent(event);
    d->renderVisiblePages();
}

#pragma once

#include <QList>
#include <QObject>
#include <QPair>
#include <QPoint>
#include <QPointF>
#include <QRectF>
#include <QStringList>

#include "pdf/pagegeometry.h"
#include "pdf/pdfview.h"

namespace Poppler {
class Link;
class Page;
} // namespace Poppler
class PageItem;
class PageRenderer;
class QGraphicsPixmapItem;
class QGraphicsRectItem;
class QImage;
class QMouseEvent;

// What the left mouse button does on the pages: the chosen tool (browse, magnify, select an area
// or text) and the links.
class PdfMouseTools : public QObject
{
    Q_OBJECT
public:
    PdfMouseTools(PdfView* view, PageRenderer* renderer, QObject* parent);

    void setDocument(const QString& fileName, const QList<Poppler::Page*>& pages, const QList<PageItem*>& items);
    void setGeometry(const PageGeometry& geometry);
    void setTool(PdfView::MouseTool tool) { m_tool = tool; }
    PdfView::MouseTool tool() const { return m_tool; }
    // Each returns false for an event that is the view's own (a form field's, a move without a tool).
    bool mousePress(QMouseEvent* event);
    bool mouseMove(QMouseEvent* event);
    bool mouseRelease(QMouseEvent* event);
    void clearHighlights();
    void forgetSceneItems(); // the scene was cleared
    void cancel();           // ends a drag and the link cursor, without menus

signals:
    void pageRequested(int page);

private:
    Poppler::Link* linkAt(const QPointF& scenePoint) const;
    bool isFormWidgetAt(const QPoint& viewPoint) const;
    void updateLinkHover(QMouseEvent* event);
    void setLinkCursor(bool on);
    void followLink(const QPointF& scenePoint);
    void startTool(const QPoint& viewPoint);
    void moveTool(const QPoint& viewPoint);
    void finishTool(const QPoint& viewPoint, bool showMenus);
    void browse(const QPoint& viewPoint);

    void showMagnifier(const QPointF& scenePoint);
    void requestMagnifierPicture();
    void onRegionRendered(int ticket, const QImage& image);
    void hideMagnifier();

    void selectText(const QPointF& scenePoint);
    QList<QPair<QRectF, QString>> textBoxes(int page);
    QImage areaImage(const QRectF& sceneRect) const;
    QString areaText(const QRectF& sceneRect) const;
    void showAreaMenu(const QPoint& globalPos, const QRectF& sceneRect);
    void showTextMenu(const QPoint& globalPos);
    void saveAreaImage(const QImage& image);

    PdfView* m_view;
    PageRenderer* m_renderer;
    PageGeometry m_geometry;
    QString m_fileName;
    QList<Poppler::Page*> m_pages;
    QList<PageItem*> m_pageItems;
    PdfView::MouseTool m_tool = PdfView::Magnifying;
    bool m_toolActive = false;
    bool m_formPress = false;
    bool m_linkCursor = false;
    QPoint m_pressPos;
    QPoint m_lastMovePos;
    QPointF m_selectionStart;
    QGraphicsRectItem* m_magnifierFrame = nullptr;
    QGraphicsPixmapItem* m_magnifierPicture = nullptr;
    QPointF m_magnifierPoint;
    int m_magnifierTicket = 0;
    bool m_magnifierStale = false;
    QGraphicsRectItem* m_selectionRect = nullptr;
    QList<QGraphicsRectItem*> m_highlights;
    QStringList m_selectedWords;
    int m_textBoxesPage = -1;
    QList<QPair<QRectF, QString>> m_textBoxes;
};

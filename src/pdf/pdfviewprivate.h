#pragma once

#include <QImage>
#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <poppler-qt5.h>

#include "pdf/pdfview.h"

class ActionHandler;
class BookmarksHandler;
class PageItem;
class PageRenderer;
class QAction;
class QGraphicsPixmapItem;
class QGraphicsProxyWidget;
class QGraphicsRectItem;
class QGraphicsScene;
class SelectPageAction;
class ZoomAction;

// The state and work of a PdfView.
class PdfViewPrivate : public QObject {
    Q_OBJECT
public:
    explicit PdfViewPrivate(PdfView* view);
    ~PdfViewPrivate() override;

    bool load(const QString& fileName);
    void close();
    void setZoomFactor(qreal zoom);
    void setPage(qreal position, int mode);
    qreal pageNumber() const;
    void setMouseTool(PdfView::MouseTool tool);
    void renderVisiblePages();

    ZoomAction* zoomAction();
    SelectPageAction* pageSelector();
    BookmarksHandler* bookmarksHandler();
    ActionHandler* actionHandler();
    bool hasDocument() const { return m_document != nullptr; }
    bool showForms() const { return m_showForms; }

    void keyPress(QKeyEvent* event);
    void wheel(QWheelEvent* event);
    void mousePress(QMouseEvent* event);
    void mouseMove(QMouseEvent* event);
    void mouseRelease(QMouseEvent* event);
    void contextMenu(QContextMenuEvent* event);
    void toggleShowForms(bool visible);
    void print();
    void openPageSelector();

signals:
    void scrollPositionChanged(qreal fraction, int pageNumber);
    void openTexDocument(const QString& fileName, int lineNumber);
    void mouseToolChanged(PdfView::MouseTool tool);

public slots:
    void slotSelectMouseTool();
    void slotSetPage(int pageIndex);
    void slotSetPage(double position);
    void slotSetZoomFactor(qreal zoom);
    void slotVerticalPositionChanged(int value);
    void slotVerticalPositionChanged();

private:
    friend class PdfView;

    qreal scaleX() const;
    qreal scaleY() const;
    QRectF pageRect(int page) const;
    int pageAt(const QPointF& scenePoint) const;
    QPair<int, int> visibleRange() const;
    void readPages();
    void layoutPages();
    void clearScene();
    void connectScrollTracking();
    void disconnectScrollTracking();
    void renderPages(int first, int last);
    void releaseFarPictures(int first, int last);
    void onPageRendered(int page, const QImage& image);
    void onPageSkipped(int page);
    void placeFormWidgets(int page);
    void updatePageState();
    void applyFileSettings();
    void saveFileSettings();

    Poppler::Link* linkAt(const QPointF& scenePoint) const;
    bool isFormWidgetAt(const QPoint& viewPoint) const;
    bool hasFormFocus() const;
    void updateLinkHover(QMouseEvent* event);
    void setLinkCursor(bool on);
    bool followLink(const QPointF& scenePoint);
    void startTool(const QPoint& viewPoint);
    void moveTool(const QPoint& viewPoint);
    void finishTool(const QPoint& viewPoint, bool showMenus);
    void browse(const QPoint& viewPoint);

    void showMagnifier(const QPointF& scenePoint);
    void requestMagnifierPicture();
    void onRegionRendered(int ticket, const QImage& image);
    void hideMagnifier();

    void selectText(const QPointF& scenePoint);
    void clearHighlights();
    QList<QPair<QRectF, QString>> textBoxes(int page);
    QImage areaImage(const QRectF& sceneRect) const;
    QString areaText(const QRectF& sceneRect) const;
    void showAreaMenu(const QPoint& globalPos, const QRectF& sceneRect);
    void showTextMenu(const QPoint& globalPos);
    void saveAreaImage(const QImage& image);

    PdfView* m_view;
    QGraphicsScene* m_scene;
    QList<Poppler::Page*> m_pages;
    QList<PageItem*> m_pageItems;
    ActionHandler* m_actionHandler = nullptr;
    ZoomAction* m_zoomAction = nullptr;
    SelectPageAction* m_pageSelector = nullptr;
    BookmarksHandler* m_bookmarksHandler = nullptr;
    QList<QAction*> m_extraActions;
    QString m_fileName;
    Poppler::Document* m_document = nullptr;
    QStringList m_pageLabels;
    QVector<QSizeF> m_pageSizes;
    QVector<qreal> m_offsets;
    qreal m_widestWidth = 0;
    QVector<bool> m_rendered;
    QVector<QGraphicsPixmapItem*> m_pictures;
    QVector<bool> m_formsPlaced;
    qreal m_zoom = 1.0;
    int m_dpiX = 72;
    int m_dpiY = 72;
    int m_currentPage = -1;
    int m_lastPageAsked = -1;
    Poppler::Document::RenderHints m_renderHints;
    Poppler::Document::RenderBackend m_renderBackend = Poppler::Document::SplashBackend;
    PageRenderer* m_renderer;
    PdfView::MouseTool m_mouseTool = PdfView::Magnifying;
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
    bool m_showForms = false;
    qint64 m_fileSettingsLimit = 52428800;
    QTimer m_scrollTimer;
    QMetaObject::Connection m_scrollConnection;
};

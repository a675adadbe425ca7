#pragma once

#include <QImage>
#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVector>

#include <memory>

#include <poppler-qt5.h>

#include "pdf/pagegeometry.h"
#include "pdf/pdfview.h"

class PageItem;
class PageRenderer;
class PdfMouseTools;
class PdfOpener;
struct OpenedPdf;
class QAction;
class QGraphicsPixmapItem;
class QGraphicsScene;

// The state and work of a PdfView.
class PdfViewPrivate : public QObject
{
    Q_OBJECT
public:
    explicit PdfViewPrivate(PdfView* view);
    ~PdfViewPrivate() override;

    void load(const QString& fileName);
    void close();
    void setZoomFactor(qreal zoom);
    void setPage(qreal position, int mode);
    qreal pageNumber() const;
    void setMouseTool(PdfView::MouseTool tool);
    void renderVisiblePages();
    PdfMouseTools* mouseTools() const { return m_tools; }

    void keyPress(QKeyEvent* event);
    void wheel(QWheelEvent* event);
    void contextMenu(QContextMenuEvent* event);
    void toggleShowForms(bool visible);
    void print();

signals:
    void scrollPositionChanged(qreal fraction, int pageNumber);
    void openTexDocument(const QString& fileName, int lineNumber);

public slots:
    void slotSetPage(int pageIndex);
    void slotVerticalPositionChanged(int value);
    void slotVerticalPositionChanged();

private:
    friend class PdfView;

    qreal scaleX() const;
    qreal scaleY() const;
    QPair<int, int> visibleRange() const;
    void showFirstPages(const QString& fileName, const QVector<QSizeF>& pageSizes);
    void show(const std::shared_ptr<OpenedPdf>& opened);
    void beginShowing(const QString& fileName, const QVector<QSizeF>& pageSizes);
    void keepShowing(const QVector<QSizeF>& pageSizes);
    void layOutAgain(const QVector<QSizeF>& pageSizes);
    void placeMissingForms();
    void clearDocument();
    void disposeDocument();
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
    void saveFileSettings();
    bool hasFormFocus() const;

    PdfView* m_view;
    QGraphicsScene* m_scene;
    QList<Poppler::Page*> m_pages;
    QList<PageItem*> m_pageItems;
    QList<QAction*> m_extraActions;
    QString m_fileName;
    Poppler::Document* m_document = nullptr;
    QStringList m_pageLabels;
    QVector<QSizeF> m_pageSizes;
    PageGeometry m_geometry;
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
    PdfMouseTools* m_tools;
    PdfOpener* m_opener;
    std::unique_ptr<QIODevice> m_file; // the document reads from it
    bool m_showForms = false;
    qint64 m_fileSettingsLimit = 52428800;
    QTimer m_scrollTimer;
    QMetaObject::Connection m_scrollConnection;
};

#pragma once

#include <QGraphicsView>
#include <QStringList>

class QAction;
class PdfViewPrivate;

// A PDF document as a vertical column of pages, rendered lazily as they come into view.
class PdfView : public QGraphicsView {
    Q_OBJECT
    Q_PROPERTY(QString fileName READ fileName)
    Q_PROPERTY(qreal zoomFactor READ zoomFactor WRITE setZoomFactor NOTIFY zoomFactorChanged)
    Q_PROPERTY(qreal pageNumber READ pageNumber)
    Q_PROPERTY(QStringList pageLabels READ pageLabels)

public:
    enum MouseTool { Browsing = 0, Magnifying = 1, Selection = 2, TextSelection = 3 };
    Q_ENUM(MouseTool)
    enum PdfViewAction {
        NoPdfViewAction = -1,
        ZoomIn = 0,
        ZoomOut,
        Zoom,
        GoToStartOfDocument,
        GoToEndOfDocument,
        GoToPreviousPage,
        GoToNextPage,
        GoToPage,
        Bookmarks,
        SetBookmark,
        PreviousBookmark,
        NextBookmark,
        Print,
        MouseToolBrowse,
        MouseToolMagnify,
        MouseToolSelection,
        MouseToolTextSelection,
        ShowForms
    };
    Q_ENUM(PdfViewAction)

    explicit PdfView(QWidget* parent = nullptr);
    ~PdfView() override;

    bool load(const QString& fileName);
    void close();
    void setZoomFactor(qreal value);
    qreal zoomFactor() const;
    void setPage(qreal position, int mode = 0);
    qreal pageNumber() const;
    QAction* action(PdfViewAction action);
    void setMouseTool(MouseTool tool);
    MouseTool mouseTool() const;
    void setMaximumFileSettingsCacheSize(qint64 bytes);
    void addContextMenuAction(QAction* action);
    int pageCount() const;
    QString fileName() const;
    QStringList pageLabels() const;
    using QGraphicsView::sceneRect;

signals:
    void scrollPositionChanged(qreal fraction, int pageNumber);
    void openTexDocument(const QString& fileName, int lineNumber);
    void closeFindWidget();
    void zoomFactorChanged(qreal value);
    void mouseToolChanged(PdfView::MouseTool tool);

public slots:
    void slotToggleShowForms(bool visible);
    void slotZoomIn();
    void slotZoomOut();
    void slotGoToStartOfDocument();
    void slotGoToEndOfDocument();
    void slotGoToPreviousPage();
    void slotGoToNextPage();
    void slotGoToPage();
    void slotPrint();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class PdfViewPrivate;
    PdfViewPrivate* d;
};

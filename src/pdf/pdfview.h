#pragma once

#include <QGraphicsView>
#include <QStringList>

class QAction;
class QMenu;
class PdfViewPrivate;

// A PDF document as a vertical column of pages, rendered lazily as they come into view.
class PdfView : public QGraphicsView
{
    Q_OBJECT
    Q_PROPERTY(QString fileName READ fileName)
    Q_PROPERTY(qreal zoomFactor READ zoomFactor WRITE setZoomFactor NOTIFY zoomFactorChanged)
    Q_PROPERTY(qreal pageNumber READ pageNumber)
    Q_PROPERTY(QStringList pageLabels READ pageLabels)

public:
    enum MouseTool { Browsing = 0, Magnifying = 1, Selection = 2, TextSelection = 3 };
    Q_ENUM(MouseTool)

    explicit PdfView(QWidget* parent = nullptr);
    ~PdfView() override;

    // Opens off the window's thread: documentChanged or loadFailed follows through the event
    // loop. The document shown stays until the new one arrives; close() drops one still opening.
    // A long document is shown from its first pages, and documentChanged comes again once all
    // its pages, labels, links and forms are read.
    void load(const QString& fileName);
    void setOpenTimeLimit(int milliseconds);
    void close();
    void setZoomFactor(qreal value);
    qreal zoomFactor() const;
    void setPage(qreal position, int mode = 0);
    qreal pageNumber() const;
    void setMouseTool(MouseTool tool);
    MouseTool mouseTool() const;
    void setMaximumFileSettingsCacheSize(qint64 bytes);
    void addContextMenuAction(QAction* action);
    int pageCount() const;
    QString fileName() const;
    QStringList pageLabels() const;
    bool showForms() const;
    using QGraphicsView::sceneRect;

signals:
    void scrollPositionChanged(qreal fraction, int pageNumber);
    void openTexDocument(const QString& fileName, int lineNumber);
    void closeFindWidget();
    void zoomFactorChanged(qreal value);
    void mouseToolChanged(PdfView::MouseTool tool);
    void documentChanged(const QString& fileName); // empty once closed
    void loadFailed(const QString& fileName, const QString& reason);
    void contextMenuAboutToShow(QMenu* menu); // before the added actions go in

public slots:
    void slotToggleShowForms(bool visible);
    void slotZoomIn();
    void slotZoomOut();
    void slotGoToStartOfDocument();
    void slotGoToEndOfDocument();
    void slotGoToPreviousPage();
    void slotGoToNextPage();
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
    PdfViewPrivate* d;
};

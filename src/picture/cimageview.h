#pragma once

#include <QGraphicsView>
#include <QHash>
#include <QImage>

class QAction;
class QGraphicsPixmapItem;
class QMovie;

// Shows one picture or animation; dragged with the mouse, turned in quarter steps, and switched
// between the picture as first delivered and its full size.
class CImageView : public QGraphicsView
{
    Q_OBJECT
public:
    enum ActionId { TurnRight = 3, TurnLeft = 4, ActualSize = 5, Fit = 6 };

    explicit CImageView(QWidget* parent = nullptr);
    ~CImageView() override;

    QAction* Action(int id) const { return m_actions.value(id); }
    void ClearView();
    // The picture set last is shown fitted; its full size, `fullSize`, comes when asked for.
    void ExpectFullImage(const QSize& fullSize);
    // The size of the picture shown, as decoded (before any scaling of the view).
    QSize ShownPictureSize() const;

signals:
    void SigFullImageWanted();

public slots:
    void InitActions();
    void SlotFullImageReady(QImage pix);
    void SetImage(QImage pix);
    void SetImage(QMovie* mv, const QSize& size);
    void CheckRetoreAct();
    void SlotRotate90();
    void SlotRotate270();
    void SlotSizeActual();
    void SlotSizeFit();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEvent* event) override;

private:
    void ShowOnly(QGraphicsPixmapItem* shown, QGraphicsPixmapItem* hidden);
    void AddAction(int id, bool checkable, void (CImageView::*slot)());

    QGraphicsPixmapItem* m_pixmapItem = nullptr;
    QGraphicsPixmapItem* m_fullItem = nullptr;
    QSize m_fullSizeToCome; // valid while the full-size picture is still to come
    QGraphicsScene* m_scene;
    QHash<int, QAction*> m_actions;
};

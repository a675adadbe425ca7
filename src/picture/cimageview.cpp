#include "picture/cimageview.h"

#include <QAction>
#include <QActionGroup>
#include <QGraphicsPixmapItem>
#include <QGraphicsProxyWidget>
#include <QLabel>
#include <QMovie>

CImageView::CImageView(QWidget* parent) : QGraphicsView(parent), m_scene(new QGraphicsScene(this))
{
    m_scene->setItemIndexMethod(QGraphicsScene::NoIndex);
    setScene(m_scene);
    setDragMode(ScrollHandDrag);
    setCacheMode(CacheBackground);
    setViewportUpdateMode(SmartViewportUpdate);
    setRenderHint(QPainter::SmoothPixmapTransform, true);
    setResizeAnchor(AnchorViewCenter);
    InitActions();
    ClearView();
}

// The scene deletes what it holds; the item of the other size mode is ours.
CImageView::~CImageView()
{
    for (QGraphicsPixmapItem* item : {m_pixmapItem, m_fullItem})
        if (item && !item->scene())
            delete item;
}

void CImageView::AddAction(int id, bool checkable, void (CImageView::*slot)())
{
    auto* action = new QAction(this);
    action->setCheckable(checkable);
    connect(action, &QAction::triggered, this, slot);
    m_actions.insert(id, action);
}

void CImageView::InitActions()
{
    AddAction(TurnRight, false, &CImageView::SlotRotate90);
    AddAction(TurnLeft, false, &CImageView::SlotRotate270);
    AddAction(ActualSize, true, &CImageView::SlotSizeActual);
    AddAction(Fit, true, &CImageView::SlotSizeFit);
    auto* sizes = new QActionGroup(this);
    sizes->setExclusive(true);
    sizes->addAction(m_actions[ActualSize]);
    sizes->addAction(m_actions[Fit]);
    m_actions[Fit]->setChecked(true);
}

void CImageView::ClearView()
{
    for (QGraphicsPixmapItem* item : {m_pixmapItem, m_fullItem}) {
        if (item && item->scene())
            m_scene->removeItem(item);
        delete item;
    }
    m_pixmapItem = m_fullItem = nullptr;
    m_fullSizeToCome = QSize();
    const QList<QGraphicsItem*> rest = m_scene->items();
    for (QGraphicsItem* item : rest) {
        if (item->parentItem())
            continue; // goes with its parent
        m_scene->removeItem(item);
        delete item;
    }
    resetTransform();
    m_scene->setSceneRect(0, 0, 400, 300);
    m_actions[Fit]->setChecked(true);
    for (QAction* action : qAsConst(m_actions))
        action->setEnabled(false);
}

void CImageView::SlotFullImageReady(QImage pix)
{
    if (!m_pixmapItem || pix.isNull())
        return; // the picture it belongs to has gone
    delete m_fullItem;
    m_fullItem = new QGraphicsPixmapItem(QPixmap::fromImage(pix));
    m_fullItem->setTransformationMode(Qt::SmoothTransformation);
    m_fullSizeToCome = QSize();
    m_actions[ActualSize]->setEnabled(true);
    m_actions[Fit]->setEnabled(true);
    if (m_actions[ActualSize]->isChecked())
        SlotSizeActual();
}

void CImageView::ExpectFullImage(const QSize& fullSize)
{
    if (!m_pixmapItem || m_fullItem || !fullSize.isValid())
        return;
    m_fullSizeToCome = fullSize;
    CheckRetoreAct();
}

QSize CImageView::ShownPictureSize() const
{
    for (QGraphicsPixmapItem* item : {m_fullItem, m_pixmapItem})
        if (item && item->scene())
            return item->pixmap().size();
    return {};
}

void CImageView::SetImage(QImage pix)
{
    ClearView();
    m_pixmapItem = m_scene->addPixmap(QPixmap::fromImage(pix));
    m_pixmapItem->setTransformationMode(Qt::SmoothTransformation);
    m_scene->setSceneRect(0, 0, m_pixmapItem->pixmap().width(), m_pixmapItem->pixmap().height());
    centerOn(m_pixmapItem);
    CheckRetoreAct();
}

void CImageView::SetImage(QMovie* mv, const QSize& size)
{
    ClearView();
    m_actions[ActualSize]->setEnabled(false);
    auto* label = new QLabel;
    label->setMovie(mv);
    label->setFixedSize(size);
    QGraphicsProxyWidget* proxy = m_scene->addWidget(label);
    m_scene->setSceneRect(0, 0, label->width(), label->height());
    centerOn(proxy);
    mv->start();
    CheckRetoreAct();
}

void CImageView::CheckRetoreAct()
{
    const bool sizes = m_pixmapItem && (m_fullItem || m_fullSizeToCome.isValid());
    for (QAction* action : qAsConst(m_actions))
        action->setEnabled(false);
    m_actions[ActualSize]->setEnabled(sizes);
    m_actions[Fit]->setEnabled(sizes);
    m_actions[TurnLeft]->setEnabled(true);
    m_actions[TurnRight]->setEnabled(true);
}

void CImageView::SlotRotate90() { rotate(90); }

void CImageView::SlotRotate270() { rotate(-90); }

void CImageView::ShowOnly(QGraphicsPixmapItem* shown, QGraphicsPixmapItem* hidden)
{
    if (hidden && hidden->scene())
        m_scene->removeItem(hidden);
    if (!shown)
        return;
    if (!shown->scene())
        m_scene->addItem(shown);
    m_scene->setSceneRect(0, 0, shown->pixmap().width(), shown->pixmap().height());
    centerOn(shown);
}

// Until the full-size picture comes, the fitted one stands in for it, scaled up.
void CImageView::SlotSizeActual()
{
    if (m_fullItem) {
        if (m_pixmapItem)
            m_pixmapItem->setTransform(QTransform());
        ShowOnly(m_fullItem, m_pixmapItem);
        return;
    }
    if (!m_pixmapItem || !m_fullSizeToCome.isValid())
        return;
    const QSize fitted = m_pixmapItem->pixmap().size();
    m_pixmapItem->setTransform(QTransform::fromScale(qreal(m_fullSizeToCome.width()) / fitted.width(),
                                                     qreal(m_fullSizeToCome.height()) / fitted.height()));
    m_scene->setSceneRect(0, 0, m_fullSizeToCome.width(), m_fullSizeToCome.height());
    centerOn(m_pixmapItem);
    emit SigFullImageWanted();
}

void CImageView::SlotSizeFit()
{
    if (!m_pixmapItem)
        return;
    m_pixmapItem->setTransform(QTransform());
    ShowOnly(m_pixmapItem, m_fullItem);
}

// The hand of a finished drag would otherwise stay on the picture.
void CImageView::mousePressEvent(QMouseEvent* event)
{
    QGraphicsView::mousePressEvent(event);
    viewport()->setCursor(Qt::ArrowCursor);
}

void CImageView::mouseReleaseEvent(QMouseEvent* event)
{
    QGraphicsView::mouseReleaseEvent(event);
    viewport()->setCursor(Qt::ArrowCursor);
}

void CImageView::enterEvent(QEvent* event)
{
    QGraphicsView::enterEvent(event);
    viewport()->setCursor(Qt::ArrowCursor);
}

#include "media/videosurface.h"

#include "media/framerenderer.h"

#include <QPaintEvent>
#include <QPainter>

VideoSurface::VideoSurface(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(1, 1);
}

void VideoSurface::Attach(FrameRenderer* renderer)
{
    m_renderer = renderer;
    connect(renderer, &FrameRenderer::FrameRendered, this, &VideoSurface::ShowFrame, Qt::QueuedConnection);
    RequestSize();
}

void VideoSurface::setOutAspectRatio(double ratio)
{
    m_aspectRatio = ratio > 0.0 ? ratio : 0.0;
    RequestSize();
    update();
}

void VideoSurface::Clear()
{
    m_accepting = false;
    m_frame = QImage();
    update();
}

// The first frame may have come before the video was announced: have it drawn again.
void VideoSurface::AcceptFrames()
{
    m_accepting = true;
    if (m_renderer)
        m_renderer->Redraw();
}

QRect VideoSurface::VideoRect() const
{
    if (m_aspectRatio <= 0.0)
        return rect();
    QSize fitted = size();
    if (fitted.width() > fitted.height() * m_aspectRatio)
        fitted.setWidth(qMax(1, qRound(fitted.height() * m_aspectRatio)));
    else
        fitted.setHeight(qMax(1, qRound(fitted.width() / m_aspectRatio)));
    QRect r(QPoint(0, 0), fitted);
    r.moveCenter(rect().center());
    return r;
}

void VideoSurface::RequestSize()
{
    if (m_renderer)
        m_renderer->SetTargetSize(VideoRect().size() * devicePixelRatioF());
}

void VideoSurface::ShowFrame(const QImage& frame)
{
    if (!m_accepting)
        return;
    m_frame = frame;
    m_frame.setDevicePixelRatio(devicePixelRatioF());
    update(VideoRect());
}

void VideoSurface::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect video = VideoRect();
    painter.fillRect(event->rect(), Qt::black);
    if (!m_frame.isNull())
        painter.drawImage(video, m_frame);
}

void VideoSurface::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    RequestSize();
}

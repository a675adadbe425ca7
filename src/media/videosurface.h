#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>

class FrameRenderer;

// Paints the player's video frames, fitted to the output aspect ratio with black bars.
class VideoSurface : public QWidget
{
    Q_OBJECT
public:
    explicit VideoSurface(QWidget* parent = nullptr);

    void Attach(FrameRenderer* renderer);
    void setOutAspectRatio(double ratio); // width ÷ height; 0 fills the widget
    // Drops the shown frame; frames arrive again after AcceptFrames(), when a new video begins.
    void Clear();
    void AcceptFrames();
    bool HasFrame() const { return !m_frame.isNull(); }
    QRect VideoRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowFrame(const QImage& frame);
    void RequestSize();

    QPointer<FrameRenderer> m_renderer;
    QImage m_frame;
    double m_aspectRatio = 0.0;
    bool m_accepting = false;
};

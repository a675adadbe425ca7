#pragma once

#include <QImage>
#include <QObject>
#include <QSize>

#include <condition_variable>
#include <mutex>
#include <thread>

struct mpv_handle;
struct mpv_render_context;

// Draws libmpv's frames in software on a thread of its own, at the size the surface asks for,
// and hands each finished picture over by signal, so scaling a 4K frame never runs in the GUI thread.
class FrameRenderer : public QObject
{
    Q_OBJECT
public:
    static FrameRenderer* Create(mpv_handle* mpv); // null when libmpv gives no software context
    ~FrameRenderer() override;

    void SetTargetSize(const QSize& devicePixels); // any thread
    void SetRotation(int degrees);                 // clockwise, a multiple of 90; any thread
    void Redraw();                                 // the current frame again, e.g. for a new viewer

signals:
    void FrameRendered(QImage frame);

private:
    explicit FrameRenderer(mpv_render_context* context);
    void Run();
    void RenderFrame(const QSize& shown, int rotation);
    template <typename T>
    void ChangeAndRedraw(T& field, const T& value);
    static void OnUpdate(void* self);

    mpv_render_context* m_context;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    QSize m_size;
    bool m_updatePending = false;
    bool m_redraw = false;
    bool m_quit = false;
    int m_rotation = 0;
    std::thread m_thread;
};

#include "media/framerenderer.h"

#include <QTransform>

#include <mpv/client.h>
#include <mpv/render.h>

#include <cstdlib>

namespace {

constexpr int kAlignment = 64; // libmpv's fast paths want 64-byte rows and buffers

QImage AlignedImage(const QSize& size)
{
    const int stride = (size.width() * 4 + kAlignment - 1) / kAlignment * kAlignment;
    void* data = std::aligned_alloc(kAlignment, size_t(stride) * size_t(size.height()));
    if (!data)
        return QImage();
    // "bgr0" in memory is Qt's RGB32 on a little-endian machine.
    return QImage(static_cast<uchar*>(data), size.width(), size.height(), stride, QImage::Format_RGB32, std::free,
                  data);
}

// mpv leaves garbage (often 0) in the pad byte, but Qt reads RGB32's top byte as alpha when it
// copies into a translucent window: a compositor would blend the video with the desktop.
void MakeOpaque(QImage& frame)
{
    for (int y = 0; y < frame.height(); ++y) {
        auto* pixel = reinterpret_cast<quint32*>(frame.scanLine(y));
        for (int x = 0; x < frame.width(); ++x)
            pixel[x] |= 0xff000000u;
    }
}

} // namespace

FrameRenderer* FrameRenderer::Create(mpv_handle* mpv)
{
    char api[] = MPV_RENDER_API_TYPE_SW;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, api}, {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context* context = nullptr;
    if (mpv_render_context_create(&context, mpv, params) < 0)
        return nullptr;
    return new FrameRenderer(context);
}

FrameRenderer::FrameRenderer(mpv_render_context* context) : m_context(context)
{
    mpv_render_context_set_update_callback(m_context, &FrameRenderer::OnUpdate, this);
    m_thread = std::thread(&FrameRenderer::Run, this);
}

FrameRenderer::~FrameRenderer()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_one();
    m_thread.join();
    mpv_render_context_set_update_callback(m_context, nullptr, nullptr);
    mpv_render_context_free(m_context);
}

template <typename T>
void FrameRenderer::ChangeAndRedraw(T& field, const T& value)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (field == value)
            return;
        field = value;
        m_redraw = true;
    }
    m_wake.notify_one();
}

void FrameRenderer::SetTargetSize(const QSize& devicePixels) { ChangeAndRedraw(m_size, devicePixels); }

void FrameRenderer::SetRotation(int degrees) { ChangeAndRedraw(m_rotation, degrees); }

void FrameRenderer::Redraw()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_redraw = true;
    }
    m_wake.notify_one();
}

void FrameRenderer::OnUpdate(void* self)
{
    auto* renderer = static_cast<FrameRenderer*>(self);
    {
        std::lock_guard<std::mutex> lock(renderer->m_mutex);
        renderer->m_updatePending = true;
    }
    renderer->m_wake.notify_one();
}

void FrameRenderer::Run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    while (true) {
        m_wake.wait(lock, [this] { return m_quit || m_updatePending || m_redraw; });
        if (m_quit)
            return;
        const bool redraw = m_redraw;
        const QSize size = m_size;
        const int rotation = m_rotation;
        m_updatePending = m_redraw = false;
        lock.unlock();
        const uint64_t flags = mpv_render_context_update(m_context);
        if ((flags & MPV_RENDER_UPDATE_FRAME) || redraw)
            RenderFrame(size, rotation);
        lock.lock();
    }
}

// The picture is drawn upright and turned here: libmpv's own turning aborts in this renderer.
void FrameRenderer::RenderFrame(const QSize& shown, int rotation)
{
    const QSize size = rotation % 180 ? shown.transposed() : shown;
    if (size.isEmpty())
        return;
    QImage frame = AlignedImage(size);
    if (frame.isNull())
        return;
    int dimensions[2] = {size.width(), size.height()};
    size_t stride = size_t(frame.bytesPerLine());
    char format[] = "bgr0";
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, dimensions},
                                 {MPV_RENDER_PARAM_SW_FORMAT, format},
                                 {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                 {MPV_RENDER_PARAM_SW_POINTER, frame.bits()},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    if (mpv_render_context_render(m_context, params) < 0)
        return;
    MakeOpaque(frame);
    emit FrameRendered(rotation ? frame.transformed(QTransform().rotate(rotation)) : frame);
}

// mediarender FILE [FRAMES]: what one video frame costs through libmpv's render API, in software
// into memory (as the video viewer does) against OpenGL into an offscreen framebuffer.
#include <mpv/client.h>
#include <mpv/render.h>
#include <mpv/render_gl.h>

#include <QGuiApplication>
#include <QImage>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QOpenGLFunctions>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kAlignment = 64;
constexpr int kDefaultFrames = 200;
const QSize kProvisionalSize(64, 64);
constexpr auto kTimeLimit = std::chrono::seconds(30);
constexpr uint64_t kWidthId = 1, kHeightId = 2, kEofId = 3;

struct Timings {
    std::vector<double> render, finish, readback;
};

using RenderFn = std::function<bool(mpv_render_context*, const QSize&, Timings&)>;

struct Wakeup {
    std::mutex mutex;
    std::condition_variable cond;
    bool events = false;
    bool update = false;
};

struct Progress {
    QSize size;
    bool eof = false;
    bool failed = false;
    bool pending = false;
};

enum class Outcome { Done, TimedOut, Failed };

struct Result {
    Timings timings;
    QSize size;
    double seconds = 0;
    Outcome outcome = Outcome::Failed;
};

struct Run {
    const char* file;
    int frames;
    Clock::time_point deadline;
};

// Owns one player; the render context has to go before the core it belongs to.
struct Player {
    Wakeup* wakeup;
    mpv_handle* mpv = nullptr;
    mpv_render_context* render = nullptr;
    ~Player()
    {
        if (render) {
            mpv_render_context_set_update_callback(render, nullptr, nullptr);
            mpv_render_context_free(render);
        }
        if (mpv)
            mpv_terminate_destroy(mpv);
    }
};

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Mean(const std::vector<double>& values)
{
    double sum = 0;
    for (double v : values)
        sum += v;
    return values.empty() ? 0 : sum / double(values.size());
}

// Nearest rank: the smallest value at least `share` of the samples do not exceed.
double Percentile(std::vector<double> values, double share)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    size_t rank = size_t(share * double(values.size()) + 0.999999);
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

void OnEvents(void* data)
{
    auto* wakeup = static_cast<Wakeup*>(data);
    {
        std::lock_guard<std::mutex> lock(wakeup->mutex);
        wakeup->events = true;
    }
    wakeup->cond.notify_one();
}

void OnUpdate(void* data)
{
    auto* wakeup = static_cast<Wakeup*>(data);
    {
        std::lock_guard<std::mutex> lock(wakeup->mutex);
        wakeup->update = true;
    }
    wakeup->cond.notify_one();
}

bool WaitForWork(Wakeup& wakeup, Clock::time_point deadline, bool& events, bool& update)
{
    std::unique_lock<std::mutex> lock(wakeup.mutex);
    if (!wakeup.cond.wait_until(lock, deadline, [&] { return wakeup.events || wakeup.update; }))
        return false;
    events = std::exchange(wakeup.events, false);
    update = std::exchange(wakeup.update, false);
    return true;
}

mpv_handle* CreatePlayer()
{
    // Frames as fast as decoding allows, none dropped, and no GPU decoding interop to probe.
    static const char* const kOptions[][2] = {
        {"config", "no"},
        {"vo", "libmpv"},
        {"hwdec", "no"},
        {"ao", "null"},
        {"audio", "no"},
        {"untimed", "yes"},
        {"keep-open", "yes"},
        {"framedrop", "no"},
        {"video-sync", "display-desync"},
        {"video-timing-offset", "0"},
        {"gpu-hwdec-interop", "no"},
    };
    mpv_handle* mpv = mpv_create();
    if (!mpv)
        return nullptr;
    for (const auto& option : kOptions) {
        if (mpv_set_option_string(mpv, option[0], option[1]) < 0) {
            std::fprintf(stderr, "mediarender: mpv rejects option %s=%s\n", option[0], option[1]);
            mpv_terminate_destroy(mpv);
            return nullptr;
        }
    }
    mpv_request_log_messages(mpv, "error");
    if (mpv_initialize(mpv) < 0) {
        mpv_terminate_destroy(mpv);
        return nullptr;
    }
    return mpv;
}

void OnProperty(const mpv_event& event, Progress& progress)
{
    const auto* property = static_cast<const mpv_event_property*>(event.data);
    if (property->format == MPV_FORMAT_INT64 && event.reply_userdata == kWidthId)
        progress.size.setWidth(int(*static_cast<int64_t*>(property->data)));
    else if (property->format == MPV_FORMAT_INT64 && event.reply_userdata == kHeightId)
        progress.size.setHeight(int(*static_cast<int64_t*>(property->data)));
    else if (property->format == MPV_FORMAT_FLAG && event.reply_userdata == kEofId)
        progress.eof = *static_cast<int*>(property->data) != 0;
}

void Fail(Progress& progress, const char* file, int error)
{
    std::fprintf(stderr, "mediarender: cannot play %s: %s\n", file, mpv_error_string(error));
    progress.failed = true;
}

void OnEndFile(const mpv_event& event, const char* file, Progress& progress)
{
    const auto* end = static_cast<const mpv_event_end_file*>(event.data);
    if (end->reason == MPV_END_FILE_REASON_ERROR)
        Fail(progress, file, end->error);
    else
        progress.eof = true;
}

// Only calls that client.h declares safe on a render thread: mpv_wait_event with timeout 0.
void DrainEvents(mpv_handle* mpv, const char* file, Progress& progress)
{
    while (true) {
        const mpv_event* event = mpv_wait_event(mpv, 0);
        switch (event->event_id) {
        case MPV_EVENT_NONE:
            return;
        case MPV_EVENT_PROPERTY_CHANGE:
            OnProperty(*event, progress);
            break;
        case MPV_EVENT_END_FILE:
            OnEndFile(*event, file, progress);
            break;
        case MPV_EVENT_LOG_MESSAGE: {
            const auto* log = static_cast<const mpv_event_log_message*>(event->data);
            std::fprintf(stderr, "mpv [%s] %s", log->prefix, log->text);
            break;
        }
        case MPV_EVENT_COMMAND_REPLY:
            if (event->error < 0)
                Fail(progress, file, event->error);
            break;
        case MPV_EVENT_SHUTDOWN:
            Fail(progress, file, MPV_ERROR_GENERIC);
            break;
        default:
            break;
        }
    }
}

bool StartPlayback(Player& player, const char* file, mpv_render_param* createParams)
{
    player.mpv = CreatePlayer();
    if (!player.mpv) {
        std::fprintf(stderr, "mediarender: cannot start libmpv\n");
        return false;
    }
    if (mpv_render_context_create(&player.render, player.mpv, createParams) < 0) {
        player.render = nullptr;
        std::fprintf(stderr, "mediarender: cannot create the mpv render context\n");
        return false;
    }
    mpv_set_wakeup_callback(player.mpv, &OnEvents, player.wakeup);
    mpv_render_context_set_update_callback(player.render, &OnUpdate, player.wakeup);
    mpv_observe_property(player.mpv, kWidthId, "dwidth", MPV_FORMAT_INT64);
    mpv_observe_property(player.mpv, kHeightId, "dheight", MPV_FORMAT_INT64);
    mpv_observe_property(player.mpv, kEofId, "eof-reached", MPV_FORMAT_FLAG);
    const char* command[] = {"loadfile", file, nullptr};
    return mpv_command_async(player.mpv, 0, command) >= 0;
}

// Not a redraw, a repeat, or a frame the player gave up waiting for (it does so after a while).
bool IsNewFrame(mpv_render_context* context)
{
    mpv_render_frame_info info{};
    if (mpv_render_context_get_info(context, {MPV_RENDER_PARAM_NEXT_FRAME_INFO, &info}) < 0)
        return true;
    const uint64_t old = MPV_RENDER_FRAME_INFO_REDRAW | MPV_RENDER_FRAME_INFO_REPEAT;
    return (info.flags & MPV_RENDER_FRAME_INFO_PRESENT) && !(info.flags & old);
}

Outcome Loop(Player& player, const Run& run, const RenderFn& render, Result& result)
{
    Wakeup& wakeup = *player.wakeup;
    Progress progress;
    Timings uncounted;
    while (result.timings.render.size() < size_t(run.frames)) {
        bool events = false, update = false;
        // A steady stream of work never lets the wait time out, so the clock is checked here too.
        if (Clock::now() >= run.deadline || !WaitForWork(wakeup, run.deadline, events, update))
            return Outcome::TimedOut;
        if (events)
            DrainEvents(player.mpv, run.file, progress);
        if (progress.failed)
            return Outcome::Failed;
        // The last frame's update can race the end-of-file event, so look once more at the end.
        if ((update || progress.eof) && (mpv_render_context_update(player.render) & MPV_RENDER_UPDATE_FRAME))
            progress.pending = true;
        if (progress.pending) {
            // Until the size is known, a small render keeps the player from waiting on us; only
            // new frames at the video's size are counted.
            const bool sized = !progress.size.isEmpty();
            Timings& timings = sized && IsNewFrame(player.render) ? result.timings : uncounted;
            if (!render(player.render, sized ? progress.size : kProvisionalSize, timings)) {
                std::fprintf(stderr, "mediarender: mpv_render_context_render failed\n");
                return Outcome::Failed;
            }
            progress.pending = false;
            result.size = progress.size;
        }
        if (progress.eof && !progress.pending)
            break;
    }
    return Outcome::Done;
}

// Renders each new frame until enough are done, the file ends or the time is up.
Result Play(const Run& run, mpv_render_param* createParams, const RenderFn& render)
{
    Result result;
    Wakeup wakeup;
    Player player{&wakeup};
    const auto start = Clock::now();
    if (!StartPlayback(player, run.file, createParams))
        return result;
    result.outcome = Loop(player, run, render, result);
    result.seconds = Ms(Clock::now() - start) / 1000;
    const size_t frames = result.timings.render.size();
    if (result.outcome == Outcome::TimedOut) {
        std::fprintf(stderr, "mediarender: %s: stopped at the %lld s limit after %zu frames\n", run.file,
                     static_cast<long long>(kTimeLimit.count()), frames);
    } else if (result.outcome == Outcome::Done && frames == 0) {
        std::fprintf(stderr, "mediarender: %s: no video frames to measure\n", run.file);
        result.outcome = Outcome::Failed;
    }
    return result;
}

class SwTarget
{
public:
    bool Render(mpv_render_context* context, const QSize& size, Timings& timings)
    {
        if (size != m_size && !Allocate(size))
            return false;
        int dimensions[2] = {size.width(), size.height()};
        char format[] = "bgr0";
        int block = 0;
        mpv_render_param params[] = {
            {MPV_RENDER_PARAM_SW_SIZE, dimensions},           {MPV_RENDER_PARAM_SW_FORMAT, format},
            {MPV_RENDER_PARAM_SW_STRIDE, &m_stride},          {MPV_RENDER_PARAM_SW_POINTER, m_buffer.get()},
            {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block}, {MPV_RENDER_PARAM_INVALID, nullptr}};
        const auto start = Clock::now();
        const int result = mpv_render_context_render(context, params);
        timings.render.push_back(Ms(Clock::now() - start));
        return result >= 0;
    }

private:
    bool Allocate(const QSize& size)
    {
        m_stride = size_t((size.width() * 4 + kAlignment - 1) / kAlignment * kAlignment);
        m_buffer.reset(std::aligned_alloc(kAlignment, m_stride * size_t(size.height())));
        m_size = m_buffer ? size : QSize();
        return bool(m_buffer);
    }

    std::unique_ptr<void, decltype(&std::free)> m_buffer{nullptr, &std::free};
    size_t m_stride = 0;
    QSize m_size;
};

class GlTarget
{
public:
    explicit GlTarget(QOpenGLContext& context) : m_gl(context.functions()) {}

    bool Render(mpv_render_context* context, const QSize& size, Timings& timings)
    {
        if (!m_fbo || m_fbo->size() != size)
            Allocate(size);
        mpv_opengl_fbo target{int(m_fbo->handle()), size.width(), size.height(), GL_RGBA8};
        int flip = 0, block = 0;
        mpv_render_param params[] = {{MPV_RENDER_PARAM_OPENGL_FBO, &target},
                                     {MPV_RENDER_PARAM_FLIP_Y, &flip},
                                     {MPV_RENDER_PARAM_BLOCK_FOR_TARGET_TIME, &block},
                                     {MPV_RENDER_PARAM_INVALID, nullptr}};
        auto start = Clock::now();
        const int result = mpv_render_context_render(context, params);
        timings.render.push_back(Ms(Clock::now() - start));
        // GL queues work; glFinish shows what the render call left undone before the copy starts.
        start = Clock::now();
        m_gl->glFinish();
        timings.finish.push_back(Ms(Clock::now() - start));
        start = Clock::now();
        m_fbo->bind();
        m_gl->glReadPixels(0, 0, size.width(), size.height(), GL_BGRA, GL_UNSIGNED_BYTE, m_image.bits());
        timings.readback.push_back(Ms(Clock::now() - start));
        return result >= 0;
    }

private:
    void Allocate(const QSize& size)
    {
        m_fbo = std::make_unique<QOpenGLFramebufferObject>(size, QOpenGLFramebufferObject::NoAttachment, GL_TEXTURE_2D,
                                                           GL_RGBA8);
        m_image = QImage(size, QImage::Format_RGB32);
    }

    QOpenGLFunctions* m_gl;
    std::unique_ptr<QOpenGLFramebufferObject> m_fbo;
    QImage m_image;
};

// Prints what was measured, even when the time limit cut the run short.
bool PrintRender(const char* mode, const Result& result)
{
    const Timings& t = result.timings;
    if (t.render.empty())
        return false;
    std::printf("%-6s %dx%d frames=%zu in %.1f s, render ms: mean %.2f median %.2f p95 %.2f", mode, result.size.width(),
                result.size.height(), t.render.size(), result.seconds, Mean(t.render), Percentile(t.render, 0.5),
                Percentile(t.render, 0.95));
    return true;
}

bool RunSoftware(const Run& run)
{
    char api[] = MPV_RENDER_API_TYPE_SW;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, api}, {MPV_RENDER_PARAM_INVALID, nullptr}};
    SwTarget target;
    const Result result =
        Play(run, params, [&](mpv_render_context* c, const QSize& s, Timings& t) { return target.Render(c, s, t); });
    if (PrintRender("SW", result))
        std::printf("\n");
    std::fflush(stdout);
    return result.outcome == Outcome::Done;
}

void* GetProcAddress(void* context, const char* name)
{
    return reinterpret_cast<void*>(static_cast<QOpenGLContext*>(context)->getProcAddress(name));
}

bool RunOpenGl(const Run& run, QOpenGLContext& context)
{
    mpv_opengl_init_params init{&GetProcAddress, &context};
    char api[] = MPV_RENDER_API_TYPE_OPENGL;
    mpv_render_param params[] = {{MPV_RENDER_PARAM_API_TYPE, api},
                                 {MPV_RENDER_PARAM_OPENGL_INIT_PARAMS, &init},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    // Outlives Play's player, so mpv frees its GL objects while the framebuffer still exists.
    GlTarget target(context);
    const Result result =
        Play(run, params, [&](mpv_render_context* c, const QSize& s, Timings& t) { return target.Render(c, s, t); });
    const auto* renderer = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
    if (PrintRender("OpenGL", result))
        std::printf(" | finish mean %.2f | readback mean %.2f | GL_RENDERER %s\n", Mean(result.timings.finish),
                    Mean(result.timings.readback), renderer ? renderer : "?");
    std::fflush(stdout);
    return result.outcome == Outcome::Done;
}

bool MakeCurrent(QOpenGLContext& context, QOffscreenSurface& surface)
{
    if (!context.create()) {
        std::fprintf(stderr, "mediarender: cannot create an OpenGL context\n");
        return false;
    }
    surface.setFormat(context.format());
    surface.create();
    if (!surface.isValid() || !context.makeCurrent(&surface)) {
        std::fprintf(stderr, "mediarender: cannot make the OpenGL context current\n");
        return false;
    }
    return true;
}

int Usage()
{
    std::fprintf(stderr, "usage: mediarender FILE [FRAMES]   (FRAMES defaults to %d)\n", kDefaultFrames);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3)
        return Usage();
    const std::string file = argv[1];
    char* end = nullptr;
    const long frames = argc == 3 ? std::strtol(argv[2], &end, 10) : kDefaultFrames;
    if ((end && *end) || frames <= 0 || frames > 1000000)
        return Usage();
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "mediarender: needs an X display in $DISPLAY (try scripts/with-display)\n");
        return 1;
    }
    QGuiApplication app(argc, argv);
    // QGuiApplication takes LC_NUMERIC from the environment, and libmpv refuses anything but "C".
    std::setlocale(LC_NUMERIC, "C");
    const Run run{file.c_str(), int(frames), Clock::now() + kTimeLimit};
    if (!RunSoftware(run))
        return 1;
    // The context goes first: it lets go of the surface it is current on.
    QOffscreenSurface surface;
    QOpenGLContext context;
    if (!MakeCurrent(context, surface) || !RunOpenGl(run, context))
        return 1;
    return 0;
}

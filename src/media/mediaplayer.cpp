#include "media/mediaplayer.h"

#include "media/framerenderer.h"
#include "media/videosurface.h"
#include "platform/allocator.h"

#include <QDebug>
#include <QTimer>

#include <mpv/client.h>

#include <chrono>
#include <clocale>
#include <cstring>
#include <future>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr double kSeekStepSeconds = 5.0; // mpv's own step for its arrow keys

// What a previewer must never do on its own: read settings or scripts of the user's mpv, open
// other files or URLs that a file points to, or fetch anything from the network.
const char* const kOptions[][2] = {
    {"config", "no"},
    {"terminal", "no"},
    {"vo", "libmpv"},
    {"hwdec", "no"},
    {"idle", "yes"},
    {"keep-open", "yes"}, // the last frame stays at the end
    {"input-default-bindings", "no"},
    {"input-vo-keyboard", "no"},
    {"osc", "no"},
    {"load-scripts", "no"},
    {"ytdl", "no"},
    {"load-unsafe-playlists", "no"},
    {"access-references", "no"},
    {"ordered-chapters", "no"},
    {"sub-auto", "no"},
    {"audio-file-auto", "no"},
    {"cover-art-auto", "no"},
    {"audio-display", "no"},
    {"resume-playback", "no"},
    {"save-position-on-quit", "no"},
    {"load-stats-overlay", "no"},
    {"load-osd-console", "no"},
    {"load-auto-profiles", "no"},
    {"osd-level", "0"},
    {"demuxer-max-bytes", "32MiB"},
    {"demuxer-max-back-bytes", "4MiB"},
    // This libmpv's software renderer aborts on a turned picture (a phone video, a JPEG with an
    // orientation): the frame renderer turns it instead.
    {"video-rotate", "no"},
};

// Without a sound card the medium still plays (silently), so its picture and timeline show.
constexpr char kDefaultAudioOutputs[] = "pipewire,pulse,alsa,jack,null";

enum ReplyKind : uint64_t { kTimePos = 1, kEofReached = 2, kLoadReply = 1ull << 32 };

// What the window asks of a loaded file, by reply kind (the low byte of a reply's number).
enum AskedKind : uint64_t { kSeekable, kDuration, kVid, kWidth, kHeight, kDecRotation, kDemuxRotation };
struct Asked {
    const char* name;
    mpv_format format;
    AskedKind kind;
};
const Asked kOnLoaded[] = {{"seekable", MPV_FORMAT_FLAG, kSeekable},
                           {"duration", MPV_FORMAT_DOUBLE, kDuration},
                           {"vid", MPV_FORMAT_STRING, kVid}};
const Asked kOnReconfig[] = {{"dwidth", MPV_FORMAT_INT64, kWidth},
                             {"dheight", MPV_FORMAT_INT64, kHeight},
                             {"video-dec-params/rotate", MPV_FORMAT_INT64, kDecRotation},
                             {"current-tracks/video/demux-rotation", MPV_FORMAT_INT64, kDemuxRotation}};

// Asks for each property with a reply numbered by the file's load; returns how many were asked.
template <size_t N>
int AskAll(mpv_handle* mpv, int loadSerial, const Asked (&properties)[N])
{
    int asked = 0;
    for (const Asked& property : properties) {
        const uint64_t reply = uint64_t(loadSerial) << 8 | property.kind;
        if (mpv_get_property_async(mpv, reply, property.name, property.format) >= 0)
            ++asked;
    }
    return asked;
}

int64_t Int64Of(const mpv_event_property& property)
{
    return property.format == MPV_FORMAT_INT64 ? *static_cast<const int64_t*>(property.data) : 0;
}

} // namespace

MediaPlayer::MediaPlayer(QObject* parent) : QObject(parent)
{
    std::setlocale(LC_NUMERIC, "C"); // libmpv refuses to start in a locale with a decimal comma
    m_mpv = mpv_create();
    if (!m_mpv) {
        qWarning() << "media: libmpv could not be created";
        return;
    }
    Configure();
    if (mpv_initialize(m_mpv) < 0) {
        qWarning() << "media: libmpv could not be initialised";
        mpv_terminate_destroy(m_mpv);
        m_mpv = nullptr;
        return;
    }
    mpv_request_log_messages(m_mpv, "error");
    mpv_observe_property(m_mpv, kTimePos, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(m_mpv, kEofReached, "eof-reached", MPV_FORMAT_FLAG);
    mpv_hook_add(m_mpv, 0, "on_load", 0);
    mpv_set_wakeup_callback(m_mpv, &MediaPlayer::Wakeup, this);
}

// Quitting waits a little for the engine to end cleanly, never for a read that does not return.
MediaPlayer::~MediaPlayer() { EndEngine(2000); }

void MediaPlayer::retire()
{
    disconnect();
    stop();
    EndEngine(0);
    deleteLater();
}

void MediaPlayer::EndEngine(int waitMs)
{
    if (!m_mpv)
        return;
    mpv_set_wakeup_callback(m_mpv, nullptr, nullptr);
    FrameRenderer* renderer = m_renderer;
    if (renderer) {
        renderer->disconnect();
        renderer->moveToThread(nullptr); // freed on the engine's last thread
    }
    auto done = std::make_shared<std::promise<void>>();
    const std::future<void> ended = done->get_future();
    std::thread([mpv = m_mpv, renderer, done] {
        delete renderer; // the render context must go before the core
        mpv_terminate_destroy(mpv);
        done->set_value();
    }).detach();
    m_mpv = nullptr;
    m_renderer = nullptr;
    ended.wait_for(std::chrono::milliseconds(waitMs));
}

void MediaPlayer::Configure()
{
    for (const auto& option : kOptions)
        if (mpv_set_option_string(m_mpv, option[0], option[1]) < 0)
            qDebug() << "media: option not taken:" << option[0];
    const QByteArray outputs = qgetenv("VUEL_AUDIO_OUTPUT");
    mpv_set_option_string(m_mpv, "ao", outputs.isEmpty() ? kDefaultAudioOutputs : outputs.constData());
}

void MediaPlayer::setRenderer(VideoSurface* surface)
{
    if (!m_mpv || m_renderer)
        return;
    m_renderer = FrameRenderer::Create(m_mpv);
    if (!m_renderer) {
        qWarning() << "media: no software render context";
        return;
    }
    surface->Attach(m_renderer);
}

void MediaPlayer::Wakeup(void* self)
{
    auto* player = static_cast<MediaPlayer*>(self);
    if (!player->m_drainQueued.exchange(true))
        QMetaObject::invokeMethod(player, &MediaPlayer::DrainEvents, Qt::QueuedConnection);
}

void MediaPlayer::DrainEvents()
{
    m_drainQueued = false;
    while (m_mpv) {
        const mpv_event* event = mpv_wait_event(m_mpv, 0);
        if (event->event_id == MPV_EVENT_NONE)
            break;
        HandleEvent(*event);
    }
}

void MediaPlayer::HandleEvent(const mpv_event& event)
{
    switch (event.event_id) {
    case MPV_EVENT_COMMAND_REPLY:
        if (event.reply_userdata == kLoadReply + uint64_t(m_loadSerial) && event.error >= 0)
            OnLoadReply(event);
        break;
    case MPV_EVENT_HOOK:
        OnLoadHook(event);
        break;
    case MPV_EVENT_FILE_LOADED:
        OnFileLoaded();
        break;
    case MPV_EVENT_VIDEO_RECONFIG:
        OnVideoReconfig();
        break;
    case MPV_EVENT_GET_PROPERTY_REPLY:
        OnPropertyReply(event);
        break;
    case MPV_EVENT_PLAYBACK_RESTART:
        m_restarted = m_loaded; // a restart before the load is the file left's
        MaybeEmitStarted();
        break;
    case MPV_EVENT_END_FILE:
        OnEndFile(event);
        break;
    case MPV_EVENT_LOG_MESSAGE:
        OnLogMessage(event);
        break;
    case MPV_EVENT_PROPERTY_CHANGE:
        OnPropertyChange(event);
        break;
    default:
        break;
    }
}

// The reply to our latest loadfile names the playlist entry; events of any other entry are stale.
void MediaPlayer::OnLoadReply(const mpv_event& event)
{
    const auto* reply = static_cast<const mpv_event_command*>(event.data);
    if (reply->result.format != MPV_FORMAT_NODE_MAP)
        return;
    const mpv_node_list* map = reply->result.u.list;
    for (int i = 0; i < map->num; ++i)
        if (std::strcmp(map->keys[i], "playlist_entry_id") == 0 && map->values[i].format == MPV_FORMAT_INT64)
            m_entryId = map->values[i].u.int64;
}

// The core waits for this hook's answer and serves calls meanwhile: these do not wait on a read.
void MediaPlayer::OnLoadHook(const mpv_event& event)
{
    const auto* hook = static_cast<const mpv_event_hook*>(event.data);
    char* target = mpv_get_property_string(m_mpv, "stream-open-filename");
    if (!target || QString::fromUtf8(target) != m_path) {
        qDebug() << "media: refused to open" << (target ? target : "") << "for" << m_path;
        mpv_set_property_string(m_mpv, "stream-open-filename", "");
    }
    mpv_free(target);
    mpv_hook_continue(m_mpv, hook->id);
}

// The core may be held (an audio output starting, a read that never returns) while a loaded file's
// facts are wanted: they are asked for, never waited for.
void MediaPlayer::OnFileLoaded()
{
    if (!m_playing)
        return;
    m_loaded = true;
    m_unanswered += AskAll(m_mpv, m_loadSerial, kOnLoaded) + AskAll(m_mpv, m_loadSerial, kOnReconfig);
}

void MediaPlayer::OnVideoReconfig()
{
    if (m_loaded)
        m_unanswered += AskAll(m_mpv, m_loadSerial, kOnReconfig);
}

void MediaPlayer::OnPropertyReply(const mpv_event& event)
{
    if (event.reply_userdata >> 8 != uint64_t(m_loadSerial) || m_unanswered == 0)
        return; // asked for a file left since
    const auto& property = *static_cast<const mpv_event_property*>(event.data);
    const bool has = event.error >= 0 && property.data;
    switch (AskedKind(event.reply_userdata & 0xff)) {
    case kSeekable:
        m_seekable = has && property.format == MPV_FORMAT_FLAG && *static_cast<const int*>(property.data);
        break;
    case kDuration:
        m_duration = has && property.format == MPV_FORMAT_DOUBLE
                         ? qint64(*static_cast<const double*>(property.data) * 1000.0)
                         : 0;
        break;
    case kVid:
        m_hasVideo = has && property.format == MPV_FORMAT_STRING &&
                     std::strcmp(*static_cast<const char* const*>(property.data), "no") != 0;
        break;
    case kWidth:
        m_rawSize.setWidth(has ? int(Int64Of(property)) : 0);
        break;
    case kHeight:
        m_rawSize.setHeight(has ? int(Int64Of(property)) : 0);
        break;
    case kDecRotation:
        m_decRotation = has ? int(Int64Of(property)) : 0;
        break;
    case kDemuxRotation:
        m_demuxRotation = has ? int(Int64Of(property)) : 0;
        break;
    }
    if (--m_unanswered == 0)
        OnAnswered();
}

void MediaPlayer::OnAnswered()
{
    // A frame's own orientation (a JPEG's) first, else the stream's (a phone video's).
    int rotation = m_decRotation ? m_decRotation : m_demuxRotation;
    rotation = ((rotation % 360 + 360) % 360) / 90 * 90;
    if (m_renderer)
        m_renderer->SetRotation(rotation);
    if (m_rawSize.width() > 0 && m_rawSize.height() > 0)
        m_frameSize = rotation % 180 ? m_rawSize.transposed() : m_rawSize;
    MaybeEmitStarted();
}

void MediaPlayer::MaybeEmitStarted()
{
    if (!m_loaded || m_startedSent || m_unanswered > 0)
        return;
    // A video track that never shows a frame (its decoder failed) must not keep us waiting.
    if (m_hasVideo && !m_frameSize.isValid()) {
        if (!m_restarted)
            return;
        m_hasVideo = false;
    }
    m_startedSent = true;
    emit started();
}

void MediaPlayer::OnEndFile(const mpv_event& event)
{
    ReleaseFreedMemory(); // the file's demuxer and decoders are gone by now
    const auto* end = static_cast<const mpv_event_end_file*>(event.data);
    if (end->playlist_entry_id != m_entryId || !m_playing)
        return;
    m_playing = false;
    m_entryId = -1;
    if (end->reason == MPV_END_FILE_REASON_REDIRECT) {
        Command({"stop"}); // never play what a playlist lists
        emit error(tr("The file is a playlist; playlists are not played."));
    } else if (end->reason == MPV_END_FILE_REASON_ERROR) {
        const QString reason = QString::fromUtf8(mpv_error_string(end->error));
        emit error(m_lastLogError.isEmpty() ? reason : reason + QStringLiteral(": ") + m_lastLogError);
    }
    emit stopped();
}

void MediaPlayer::OnPropertyChange(const mpv_event& event)
{
    const auto* property = static_cast<const mpv_event_property*>(event.data);
    if (!m_loaded || !property->data)
        return;
    // After the end the file stays open on its last frame: its position is no longer news.
    if (event.reply_userdata == kTimePos && property->format == MPV_FORMAT_DOUBLE && m_playing) {
        m_position = qint64(*static_cast<const double*>(property->data) * 1000.0);
        emit positionChanged(m_position);
    } else if (event.reply_userdata == kEofReached && property->format == MPV_FORMAT_FLAG &&
               *static_cast<const int*>(property->data) && m_playing) {
        m_playing = false; // the file stays open on its last frame until stop()
        emit stopped();
    }
}

void MediaPlayer::OnLogMessage(const mpv_event& event)
{
    const auto* message = static_cast<const mpv_event_log_message*>(event.data);
    m_lastLogError =
        QString::fromUtf8(message->prefix) + QStringLiteral(": ") + QString::fromUtf8(message->text).trimmed();
}

void MediaPlayer::Command(std::initializer_list<const char*> args, uint64_t reply)
{
    if (!m_mpv)
        return;
    std::vector<const char*> list(args);
    list.push_back(nullptr);
    mpv_command_async(m_mpv, reply, list.data());
}

void MediaPlayer::Seek(double seconds, const char* mode)
{
    const QByteArray text = QByteArray::number(seconds, 'f', 3);
    Command({"seek", text.constData(), mode});
}

void MediaPlayer::SetFlag(const char* name, bool value)
{
    int flag = value ? 1 : 0;
    if (m_mpv)
        mpv_set_property_async(m_mpv, 0, name, MPV_FORMAT_FLAG, &flag);
}

void MediaPlayer::ResetState()
{
    m_loaded = m_seekable = m_hasVideo = m_startedSent = m_restarted = false;
    m_position = m_duration = 0;
    m_frameSize = m_rawSize = QSize();
    m_decRotation = m_demuxRotation = 0;
    m_unanswered = 0;
    m_lastLogError.clear();
    m_entryId = -1;
}

void MediaPlayer::play(const QString& path)
{
    m_path = path;
    play();
}

void MediaPlayer::play()
{
    if (m_path.isEmpty())
        return;
    if (!m_mpv) {
        QTimer::singleShot(0, this, [this] { emit error(tr("The media engine could not start.")); });
        return;
    }
    ResetState();
    m_playing = true;
    m_paused = false;
    SetFlag("pause", false);
    const QByteArray path = m_path.toUtf8();
    Command({"loadfile", path.constData(), "replace"}, kLoadReply + uint64_t(++m_loadSerial));
}

void MediaPlayer::pause(bool paused)
{
    m_paused = paused;
    SetFlag("pause", paused);
}

void MediaPlayer::stop()
{
    const bool wasPlaying = m_playing;
    m_playing = false;
    ResetState();
    Command({"stop"});
    if (wasPlaying)
        emit stopped();
}

void MediaPlayer::unload()
{
    stop();
    m_path.clear();
}

void MediaPlayer::seekForward()
{
    if (m_loaded)
        Seek(kSeekStepSeconds, "relative+exact");
}

void MediaPlayer::seekBackward()
{
    if (m_loaded)
        Seek(-kSeekStepSeconds, "relative+exact");
}

void MediaPlayer::setPosition(qint64 ms)
{
    if (!m_loaded)
        return;
    Seek(double(ms) / 1000.0, "absolute");
}

void MediaPlayer::setRepeat(int count)
{
    const QByteArray value = count < 0 ? QByteArray("inf") : count == 0 ? QByteArray("no") : QByteArray::number(count);
    const char* text = value.constData();
    if (m_mpv)
        mpv_set_property_async(m_mpv, 0, "loop-file", MPV_FORMAT_STRING, &text);
}

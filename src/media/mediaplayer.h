#pragma once

#include <QObject>
#include <QSize>
#include <QString>

#include <atomic>
#include <cstdint>
#include <initializer_list>

struct mpv_handle;
struct mpv_event;
class FrameRenderer;
class VideoSurface;

// Plays one local file at a time on libmpv. Decoding and output run on mpv's own threads; this
// object lives in the GUI thread, where every signal is emitted. Only the file it was given is
// ever opened: playlists, references and network sources are refused.
class MediaPlayer : public QObject
{
    Q_OBJECT
public:
    explicit MediaPlayer(QObject* parent = nullptr);
    ~MediaPlayer() override;

    // Frames go to this surface from now on; the player keeps the renderer, the surface only paints.
    void setRenderer(VideoSurface* surface);

    void play(const QString& path);
    void play(); // the current file again, from the start
    void pause(bool paused);
    void stop();
    void unload();
    // Signals nothing more and goes soon; its engine ends on a thread of its own, since it may
    // wait on a read that never returns (a network share gone away).
    void retire();
    void seekForward();
    void seekBackward();
    void setPosition(qint64 ms);
    void setRepeat(int count); // -1 without end, 0 once

    bool isPlaying() const { return m_playing; }
    bool isPaused() const { return m_paused; }
    bool isLoaded() const { return m_loaded; }
    bool isSeekable() const { return m_seekable; }
    qint64 position() const { return m_position; }
    qint64 duration() const { return m_duration; }
    QSize videoFrameSize() const { return m_frameSize; } // as displayed, pixel aspect applied
    QString path() const { return m_path; }

signals:
    void started();
    void stopped();
    void positionChanged(qint64 ms);
    void error(QString text);

private:
    void Configure();
    void EndEngine(int waitMs);
    void Command(std::initializer_list<const char*> args, uint64_t reply = 0);
    void Seek(double seconds, const char* mode);
    void SetFlag(const char* name, bool value);
    void DrainEvents();
    void HandleEvent(const mpv_event& event);
    void OnLoadReply(const mpv_event& event);
    void OnFileLoaded();
    void OnVideoReconfig();
    void OnEndFile(const mpv_event& event);
    void OnLoadHook(const mpv_event& event);
    void OnPropertyChange(const mpv_event& event);
    void OnPropertyReply(const mpv_event& event);
    void OnAnswered();
    void OnLogMessage(const mpv_event& event);
    void MaybeEmitStarted();
    void ResetState();
    static void Wakeup(void* self);

    mpv_handle* m_mpv = nullptr;
    FrameRenderer* m_renderer = nullptr;
    std::atomic<bool> m_drainQueued{false};
    QString m_path;
    QString m_lastLogError;
    int64_t m_entryId = -1; // mpv's playlist entry of the file we play; older entries' events are stale
    int m_loadSerial = 0;   // numbers our loadfile commands, to know the reply to the latest
    bool m_playing = false;
    bool m_paused = false;
    bool m_loaded = false;
    bool m_seekable = false;
    bool m_hasVideo = false;
    bool m_startedSent = false;
    bool m_restarted = false;
    int m_unanswered = 0; // properties asked of the loaded file and not answered yet
    QSize m_rawSize;      // as decoded, before its turn
    int m_decRotation = 0;
    int m_demuxRotation = 0;
    qint64 m_position = 0;
    qint64 m_duration = 0;
    QSize m_frameSize;
};

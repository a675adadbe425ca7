// The player on real files from make-media: what plays with which size and length, and what
// ends in an error instead of a hang.
#include "cglobaldata/screenarea.h"
#include "media/cmediawnd.h"
#include "media/coverreader.h"
#include "media/mediaplayer.h"
#include "media/videosurface.h"
#include "../samples.h"
#include "../viewerload.h"

#include <QSignalSpy>
#include <QTest>

namespace {

struct Playback {
    bool started = false;
    QString error;
    qint64 duration = 0;
    QSize frame;
    bool seekable = false;
};

// A player as the viewer has it: video goes to a surface.
struct Rig {
    Rig() { player.setRenderer(&surface); }
    VideoSurface surface;
    MediaPlayer player;
};

// Plays until started or an error; a broken file must end one way or the other.
Playback Play(MediaPlayer& player, const QString& path)
{
    Playback result;
    QObject scope; // the connection ends with it
    // Read as it starts: a one-frame video has ended a moment later.
    QObject::connect(&player, &MediaPlayer::started, &scope, [&] {
        result = {true, {}, player.duration(), player.videoFrameSize(), player.isSeekable()};
    });
    QSignalSpy failed(&player, &MediaPlayer::error);
    player.play(path);
    EXPECT_TRUE(QTest::qWaitFor([&] { return result.started || !failed.isEmpty(); }, 30000)) << qPrintable(path);
    result.error = failed.value(0).value(0).toString();
    return result;
}

TEST(MediaPlayer, StartsOrFailsForEachKindOfFile)
{
    Rig rig;
    MediaPlayer& player = rig.player;
    const struct {
        const char* name;
        bool plays;
        QSize frame;
        qint64 minDuration;
    } cases[] = {
        {"bars.mp4", true, {320, 240}, 1900},  {"bars.mkv", true, {320, 240}, 1900},
        {"bars.webm", true, {320, 240}, 1900}, {"bars.avi", true, {320, 240}, 1900},
        {"bars.mov", true, {320, 240}, 1900},  {"bars.ogv", true, {320, 240}, 1900},
        {"wide.mp4", true, {640, 360}, 1900},  {"anamorphic.mp4", true, {426, 240}, 1900},
        {"oneframe.mp4", true, {320, 240}, 0}, {"silent.mp4", true, {320, 240}, 1900},
        {"tone.mp3", true, {}, 1900},          {"tone.flac", true, {}, 1900},
        {"tone.ogg", true, {}, 1900},          {"tone.opus", true, {}, 1900},
        {"tone.m4a", true, {}, 1900},          {"tone.wav", true, {}, 1900},
        {"cover.mp3", true, {}, 1900},         {"long-silent.mp3", true, {}, 7'100'000},
        {"empty.mp4", false, {}, 0},           {"text.mp3", false, {}, 0},
        {"garbage.mkv", false, {}, 0},         {"playlist.mp4", false, {}, 0},
        {"playlist.mp3", false, {}, 0},        {"missing.mp4", false, {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Playback result = Play(player, SampleMedia(QString::fromLatin1(c.name)));
        EXPECT_EQ(result.started, c.plays) << result.error.toStdString();
        EXPECT_EQ(result.error.isEmpty(), c.plays);
        if (!c.plays)
            continue;
        EXPECT_EQ(result.frame, c.frame);
        EXPECT_GE(result.duration, c.minDuration);
        EXPECT_TRUE(result.seekable || c.minDuration == 0);
        player.stop();
        EXPECT_FALSE(player.isPlaying());
    }
}

// A truncated file may play what it has, but it must end: started and stopped, or an error.
TEST(MediaPlayer, TruncatedFilesEnd)
{
    Rig rig;
    MediaPlayer& player = rig.player;
    for (const char* name : {"truncated.mp4", "truncated.mp3"}) {
        SCOPED_TRACE(name);
        QSignalSpy stopped(&player, &MediaPlayer::stopped);
        QSignalSpy errors(&player, &MediaPlayer::error);
        player.play(SampleMedia(QString::fromLatin1(name)));
        EXPECT_TRUE(stopped.wait(30000) || !errors.isEmpty());
    }
}

TEST(MediaPlayer, RepeatRestartsWithoutStopping)
{
    Rig rig;
    MediaPlayer& player = rig.player;
    player.setRepeat(-1);
    ASSERT_TRUE(Play(player, SampleMedia("oneframe.mp4")).started);
    QSignalSpy stopped(&player, &MediaPlayer::stopped);
    EXPECT_FALSE(stopped.wait(1500));
    player.setRepeat(0);
    EXPECT_TRUE(stopped.wait(5000));
    EXPECT_FALSE(player.isPlaying());
}

// Left and Right move exactly 5 s, even where the key frames lie 10 s apart.
TEST(MediaPlayer, SeeksWhereAsked)
{
    const struct {
        const char* file;
        qint64 to, step;
    } cases[] = {{"long-silent.mp3", 3'600'000, -5'000}, {"sparsekeys.mp4", 2'000, 5'000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        Rig rig;
        MediaPlayer& player = rig.player;
        ASSERT_TRUE(Play(player, SampleMedia(c.file)).started);
        player.pause(true);
        QSignalSpy moved(&player, &MediaPlayer::positionChanged);
        player.setPosition(c.to);
        while (moved.wait(5000) && std::abs(player.position() - c.to) > 1000) {
        }
        EXPECT_NEAR(double(player.position()), double(c.to), 500.0);
        c.step > 0 ? player.seekForward() : player.seekBackward();
        while (moved.wait(5000) && std::abs(player.position() - (c.to + c.step)) > 1000) {
        }
        EXPECT_NEAR(double(player.position()), double(c.to + c.step), 500.0);
    }
}

// A cover larger than the screen is shown fitted, and the next file gets its own size back.
TEST(MediaWnd, ACoverNeverMakesTheWindowLargerThanTheScreen)
{
    OverrideScreenArea(QRect(0, 0, 1000, 800));
    CMediaWnd wnd;
    QCoreApplication::processEvents();
    const Outcome wide = LoadInto(&wnd, SampleMedia("widecover.mp3"));
    ASSERT_TRUE(wide.loaded) << qPrintable(wide.err);
    EXPECT_EQ(wide.size, QSize(840, 560));
    const Outcome normal = LoadInto(&wnd, SampleMedia("cover.mp3"));
    ASSERT_TRUE(normal.loaded) << qPrintable(normal.err);
    EXPECT_EQ(normal.size, ReadCoverPicture(SampleMedia("cover.mp3")).size());
    wnd.Clear();
}

} // namespace

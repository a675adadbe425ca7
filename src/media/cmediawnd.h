#pragma once

#include "core/postbox.h"
#include "viewers/cabstractwnd.h"

#include <QImage>
#include <QTimer>

#include <memory>

class MediaPlayer;
class QLabel;
class QSlider;
class QStackedWidget;
class VideoSurface;

// The audio and video viewer: plays the file itself, with no background loader; audio shows
// its embedded cover or the music picture.
class CMediaWnd : public CAbstractWnd
{
    Q_OBJECT
public:
    explicit CMediaWnd(QWidget* parent = nullptr);
    ~CMediaWnd() override;

    // A file whose reads never return (a network share gone away) never starts.
    static constexpr int StartLimitMs = 20000;

    MediaPlayer* Player() const { return m_player; }
    VideoSurface* Surface() const { return m_renderer; }

public slots:
    QSize GetSize() const override;
    MainType GetWndType() const override { return MT_MEDIA; }
    void InitControlBar(QBoxLayout* layout) override;
    void Clear() override;

protected slots:
    void LoadHelper() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void SlotMediaStarted();

private:
    void ConnectPlayer();
    void ReplacePlayer();
    void ShowCoverOf(const QString& path);
    void ShowCover(const QString& path, QImage cover);
    void OnStartTimedOut();
    void OnPlayPauseTriggered(bool checked);
    void OnSliderReleased();

    MediaPlayer* m_player;
    VideoSurface* m_renderer;
    bool m_starting = false;
    QTimer m_startTimer;
    QSlider* m_slider;
    QLabel* m_coverLabel;
    QStackedWidget* m_pages;
    QToolButton* m_playButton = nullptr;
    std::shared_ptr<PostBox> m_box;
};

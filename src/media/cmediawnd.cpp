#include "media/cmediawnd.h"

#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/csuffixtables.h"
#include "cglobaldata/screenarea.h"
#include "core/settings.h"
#include "media/coverreader.h"
#include "media/mediaplayer.h"
#include "media/videosurface.h"

#include <QAction>
#include <QBoxLayout>
#include <QDebug>
#include <QLabel>
#include <QMouseEvent>
#include <QSlider>
#include <QStackedWidget>
#include <QToolButton>

#include <thread>

namespace {

bool IsVideo() { return CGlobalData::Instance().SubType() == ST_VIDEO; }

} // namespace

CMediaWnd::CMediaWnd(QWidget* parent)
    : CAbstractWnd(parent), m_player(new MediaPlayer(this)), m_renderer(new VideoSurface),
      m_slider(new QSlider(Qt::Horizontal)), m_coverLabel(new QLabel), m_pages(new QStackedWidget(this)),
      m_box(std::make_shared<PostBox>(this))
{
    m_coverLabel->setAlignment(Qt::AlignCenter);
    m_pages->addWidget(m_coverLabel);
    m_pages->addWidget(m_renderer);
    AddContentWidget(m_pages);
    m_player->setRenderer(m_renderer);

    auto* forward = new QAction(this);
    forward->setShortcut(QKeySequence(QStringLiteral("Right")));
    connect(forward, &QAction::triggered, this, [this] { m_player->seekForward(); });
    addAction(forward);
    auto* backward = new QAction(this);
    backward->setShortcut(QKeySequence(QStringLiteral("Left")));
    connect(backward, &QAction::triggered, this, [this] { m_player->seekBackward(); });
    addAction(backward);

    m_startTimer.setSingleShot(true);
    m_startTimer.setInterval(StartLimitMs);
    connect(&m_startTimer, &QTimer::timeout, this, &CMediaWnd::OnStartTimedOut);
    ConnectPlayer();
}

CMediaWnd::~CMediaWnd() { m_box->Close(); }

void CMediaWnd::ConnectPlayer()
{
    connect(m_player, &MediaPlayer::error, this, [this](const QString& text) {
        m_starting = false;
        m_startTimer.stop();
        emit SigErr(text);
    });
    connect(m_player, &MediaPlayer::started, this, &CMediaWnd::SlotMediaStarted);
    connect(m_player, &MediaPlayer::stopped, this, [this] {
        if (m_playButton)
            m_playButton->defaultAction()->setChecked(false);
        m_slider->setValue(0);
    });
    connect(m_player, &MediaPlayer::positionChanged, this, [this](qint64 pos) {
        if (!m_slider->isSliderDown())
            m_slider->setValue(int(pos));
    });
}

// An engine waiting on a read that never returns (a network share gone away) would keep every
// later file waiting behind it: the next file gets a new one.
void CMediaWnd::ReplacePlayer()
{
    MediaPlayer* old = m_player;
    m_player = new MediaPlayer(this);
    m_player->setRenderer(m_renderer);
    ConnectPlayer();
    old->retire();
}

void CMediaWnd::InitControlBar(QBoxLayout* layout)
{
    auto* action = new QAction(this);
    m_playButton = CreateToolButton(QStringLiteral("://pause_blue.png"), QStringLiteral("://play_blue.png"),
                                    tr("Play/Pause"), QStringLiteral("P"), action);
    action->setCheckable(true);
    action->setChecked(true);
    addAction(action);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(6, 0, 6, 3);
    connect(action, &QAction::triggered, this, &CMediaWnd::OnPlayPauseTriggered);

    m_slider->setFixedHeight(28);
    m_slider->setObjectName(QStringLiteral("play_slider"));
    row->addWidget(m_playButton);
    row->addWidget(m_slider);
    connect(m_slider, &QSlider::sliderReleased, this, &CMediaWnd::OnSliderReleased);
    m_slider->installEventFilter(this);
    layout->addLayout(row);
}

void CMediaWnd::OnPlayPauseTriggered(bool checked)
{
    if (!m_player->isPlaying())
        m_player->play();
    else
        m_player->pause(!checked);
}

void CMediaWnd::OnSliderReleased()
{
    m_player->setPosition(m_slider->value());
    if (m_player->isPlaying()) {
        m_player->pause(false);
        m_playButton->defaultAction()->setChecked(true);
    }
}

void CMediaWnd::Clear()
{
    // A file left before it started may keep its engine waiting on a read.
    if (m_starting)
        ReplacePlayer();
    m_starting = false;
    m_player->setRepeat(0);
    m_player->stop();
    m_player->unload();
    m_renderer->Clear();
    m_coverLabel->clear();
    m_startTimer.stop();
}

void CMediaWnd::LoadHelper()
{
    m_starting = true;
    m_pages->setCurrentWidget(IsVideo() ? static_cast<QWidget*>(m_renderer) : m_coverLabel);
    m_player->setRepeat(GetSettingValue(SettingKey::MediaRepeat).toBool() ? -1 : 0);
    m_player->play(CGlobalData::Instance().Path());
    m_startTimer.start();
}

void CMediaWnd::OnStartTimedOut()
{
    if (!m_starting || CGlobalData::Instance().MainType() != MT_MEDIA)
        return;
    m_starting = false;
    ReplacePlayer();
    emit SigErr(CAbstractManager::TooLongToReadText());
}

void CMediaWnd::SlotMediaStarted()
{
    if (!m_starting)
        return;
    m_starting = false;
    m_startTimer.stop();
    m_slider->setEnabled(m_player->isSeekable());
    m_slider->setRange(0, int(m_player->duration()));
    m_slider->setValue(0);
    if (m_playButton)
        m_playButton->defaultAction()->setChecked(true);
    if (IsVideo()) {
        const QSize size = GetSize();
        m_renderer->setOutAspectRatio(double(size.width()) / double(size.height()));
        m_renderer->AcceptFrames();
        emit SigLoaded();
    } else {
        ShowCoverOf(CGlobalData::Instance().Path());
    }
}

// The cover is read off the window's thread (a tag reader may wait on a slow disk) and never
// makes the window larger than the screen.
void CMediaWnd::ShowCoverOf(const QString& path)
{
    // A thread of its own: the shared pool is waited for when the program ends.
    std::thread([box = m_box, self = this, path] {
        const QImage cover = ReadCoverPicture(path);
        box->Post([self, path, cover] { self->ShowCover(path, cover); });
    }).detach();
}

void CMediaWnd::ShowCover(const QString& path, QImage cover)
{
    if (path != CGlobalData::Instance().Path() || !m_player->isLoaded())
        return;
    if (cover.isNull())
        cover.load(QStringLiteral("://music.png"));
    const QSize limit = MaxContentSize();
    if (cover.width() > limit.width() || cover.height() > limit.height())
        cover = cover.scaled(limit, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_coverLabel->setPixmap(QPixmap::fromImage(cover));
    emit SigLoaded();
}

QSize CMediaWnd::GetSize() const
{
    if (!m_player->isLoaded()) {
        qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO;
        return QSize(400, 300);
    }
    if (CGlobalData::Instance().SubType() == ST_AUDIO)
        return m_coverLabel->pixmap(Qt::ReturnByValue).size();
    const QSize frame = m_player->videoFrameSize();
    return frame.isValid() ? frame : QSize(400, 300); // a video whose picture never decoded
}

// A press on the groove moves the handle under the pointer, so that the release seeks there.
bool CMediaWnd::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_slider && event->type() == QEvent::MouseButtonPress) {
        auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::LeftButton && m_slider->width() > 0) {
            const qint64 span = qint64(m_slider->maximum()) - m_slider->minimum();
            m_slider->setValue(int(m_slider->minimum() + qint64(press->pos().x()) * span / m_slider->width()));
            event->accept();
        }
    }
    return CAbstractWnd::eventFilter(watched, event);
}

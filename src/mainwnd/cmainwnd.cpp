#include "mainwnd/cmainwnd.h"

#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/contentkind.h"
#include "cglobaldata/screenarea.h"
#include "core/settings.h"
#include "cparentdlg/fade.h"
#include "mainwnd/contentsniffer.h"
#include "mainwnd/cpluginrun.h"
#include "mainwnd/pathprobe.h"
#include "mainwnd/viewerkinds.h"
#include "mainwnd/wndgeometry.h"
#include "platform/contenttype.h"
#include "platform/displayname.h"
#include "platform/fileinfo.h"
#include "platform/launcher.h"
#include "viewers/cabstractmanager.h"
#include "viewers/cunknownwnd.h"

#include <QAction>
#include <QDebug>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMovie>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>

namespace {

constexpr char kHelpPicture[] = "://help.jpg";

// Where the suffix tables know nothing, the content may.
void ClassifyByContent(CGlobalData& data, const QStringList& chain)
{
    ContentKind kind = KindOfContentType(chain, QFileInfo(data.Path()).suffix());
    if (kind.subType == ST_OFFICE && !GetSettingValue(SettingKey::OfficeSupport).toBool())
        kind = ContentKind();
    data.SetMainType(kind.mainType);
    data.SetSubType(kind.subType);
    data.SetLexer(kind.lexer);
}

} // namespace

CMainWnd::CMainWnd(QWidget* parent)
    : CParentDlg(tr("Vuel"), parent), m_stack(new QStackedWidget(this)), m_sniffer(new ContentSniffer(this)),
      m_probe(new PathProbe(PathProbe::Links::AsTheyAre, this))
{
    SetShadowColor(QColor("#666666"));
    SetTitleBarHeight(32);
    SetShadowWidth(30);
    SetInactiveShadowRadius(5);
    CloseButton()->setFocusPolicy(Qt::NoFocus);
    SetCloseOnEsc(false); // the controller hides on the Esc release, with the preview's own fade
    MaxWndSize();

    SetContentWidget(m_stack);
    m_unknownWnd = new CUnknownWnd(m_stack);
    AddViewer(MT_UNKNOWN, m_unknownWnd);
    for (const ViewerKind& kind : ViewerKinds())
        AddViewer(kind.kind, kind.create(m_stack));

    m_loadingMovie = new QMovie(QStringLiteral("://loading.gif"), QByteArray(), this);
    m_loadingLabel = new QLabel(m_stack);
    m_loadingLabel->setAlignment(Qt::AlignCenter);
    m_loadingLabel->setMovie(m_loadingMovie);
    m_stack->addWidget(m_loadingLabel);
    m_stack->setObjectName(QStringLiteral("MainContainer"));
    // An idle previewer spends nothing on a spinner nobody sees.
    connect(m_stack, &QStackedWidget::currentChanged, this,
            [this](int) { m_loadingMovie->setPaused(m_stack->currentWidget() != m_loadingLabel); });

    connect(m_sniffer, &ContentSniffer::SigSniffed, this, &CMainWnd::OnSniffed);
    connect(m_sniffer, &ContentSniffer::SigTimedOut, this, &CMainWnd::OnSniffTimedOut);
    connect(m_probe, &PathProbe::SigProbed, this, &CMainWnd::LoadProbed);

    AddShortcut(QStringLiteral("Ctrl+W"), &CMainWnd::HideWnd);
    AddShortcut(QStringLiteral("C"), &CMainWnd::ToggleControlBar);
    AddShortcut(QStringLiteral("T"), &CMainWnd::ToggleTitleBar);

    SetContentSize(QSize(400, 300));
    setWindowFlags(windowFlags() | Qt::Tool | Qt::WindowStaysOnTopHint);
    // The file manager keeps the keyboard: its arrow keys go on moving the selection.
    setAttribute(Qt::WA_ShowWithoutActivating);
}

// At idle after start: the first preview would otherwise wait while it is made.
void CMainWnd::WarmUp()
{
    for (CAbstractWnd* viewer : qAsConst(m_viewers))
        viewer->WarmUp();
}

void CMainWnd::AddViewer(int kind, CAbstractWnd* viewer)
{
    m_stack->addWidget(viewer);
    connect(viewer, &CAbstractWnd::SigBe4Load, this, &CMainWnd::OnBe4Load);
    connect(viewer, &CAbstractWnd::SigLoaded, this, &CMainWnd::SlotLoaded);
    connect(viewer, &CAbstractWnd::SigOpenByDefault, this, &CMainWnd::OpenByDefault);
    connect(viewer, &CAbstractWnd::SigRevealInExplorer, this, &CMainWnd::RevealInExplorer);
    connect(viewer, &CAbstractWnd::SigErr, this, &CMainWnd::SlotErr);
    connect(viewer, &CAbstractWnd::SigLoadNewPath, this, &CMainWnd::ProbeAndLoad);
    m_viewers.insert(kind, viewer);
}

void CMainWnd::AddShortcut(const QString& keys, void (CMainWnd::*slot)())
{
    auto* action = new QAction(this);
    action->setShortcut(QKeySequence(keys));
    connect(action, &QAction::triggered, this, slot);
    addAction(action);
}

CAbstractWnd* CMainWnd::CurrentViewer() const { return qobject_cast<CAbstractWnd*>(m_stack->currentWidget()); }

void CMainWnd::Load(QString path) { LoadProbed(path, FactsOf(path)); }

void CMainWnd::ProbeAndLoad(const QString& path)
{
    m_sniffer->Cancel();
    m_probe->Start(path);
}

void CMainWnd::LoadProbed(const QString& asked, const PathFacts& facts)
{
    m_probe->Cancel();
    m_sniffer->Cancel();
    const bool help = asked == QLatin1String(kHelpPicture);
    const QFileInfo name(help ? asked : facts.path); // names only: the file system is not asked here
    if (!facts.unanswered && name.suffix().trimmed().isEmpty() && !facts.IsFolder() && !KnowsContentTypes()) {
        HideWnd();
        return;
    }
    m_facts = facts;
    CGlobalData& data = CGlobalData::Instance();
    data.SetPath(help ? asked : facts.path);
    SetTitle(help ? tr("Help") : DisplayName(name.fileName()));
    data.SetMainType(data.Suffixes().GetMainType(data.Path(), facts.IsFolder()));
    data.SetSubType(data.Suffixes().GetSubType(data.Path(), facts.IsFolder()));
    data.SetLexer(QString());
    data.SetScreenArea(ScreenArea());
    if (facts.unanswered) {
        qDebug() << "facts of" << facts.path << ":" << CAbstractManager::TooLongToReadText();
        ShowInformation(CAbstractManager::TooLongToReadText());
        return;
    }
    if (facts.IsSpecial()) {
        LoadUnknownFile();
        return;
    }
    const PluginRecord* plugin = help ? nullptr : PluginRun()->RegisteredPluginFor(facts.path, facts.IsFolder());
    if (plugin) {
        LoadPlugin(plugin->command);
        return;
    }
    PluginRun()->Stop(); // its result would replace the file switched to
    // A suffix the tables know but leave off (office documents) stays theirs. Size 0 is an
    // empty file, or a kernel file (/proc/kmsg) whose read may wait for ever.
    if (data.MainType() == MT_UNKNOWN && data.SubType() == ST_UNKNOWN && facts.IsFile() && facts.size > 0) {
        StopViewersBut(nullptr);
        OnBe4Load();
        m_sniffer->Start(data.Path());
        return;
    }
    LoadInViewer();
}

void CMainWnd::OnSniffed(const QString& path, const QStringList& chain)
{
    CGlobalData& data = CGlobalData::Instance();
    if (path != data.Path())
        return;
    ClassifyByContent(data, chain);
    LoadInViewer();
}

void CMainWnd::OnSniffTimedOut(const QString& path)
{
    const QString reason = CAbstractManager::TooLongToReadText();
    qDebug() << "content type of" << path << ":" << reason;
    ShowInformation(reason);
}

void CMainWnd::LoadInViewer()
{
    CAbstractWnd* viewer = m_viewers.value(CGlobalData::Instance().MainType());
    if (!viewer) { // a kind whose viewer this build does not have
        LoadUnknownFile();
        return;
    }
    StopViewersBut(viewer);
    viewer->StartLoading();
    // Sized now, a viewer lays its content out once instead of again when the window is fitted.
    if (viewer->SizeKnownBeforeLoad())
        FitToContent(viewer);
}

// A viewer still loading is not on show, so no hide event stops it.
void CMainWnd::StopViewersBut(CAbstractWnd* keep)
{
    for (CAbstractWnd* viewer : qAsConst(m_viewers))
        if (viewer != keep)
            viewer->Manager()->Stop();
}

void CMainWnd::OnBe4Load()
{
    if (FrameLayout()->contentsMargins().left() < ShadowWidth()) {
        const int m = ShadowWidth();
        FrameLayout()->setContentsMargins(m, m, m, m);
        showNormal();
        UpdateShadow();
    }
    LoadLoading();
}

void CMainWnd::LoadLoading()
{
    m_loadingMovie->stop();
    m_loadingMovie->start();
    m_stack->setCurrentWidget(m_loadingLabel);
}

void CMainWnd::LoadUnknownFile() { ShowInformation(QString()); }

void CMainWnd::ShowInformation(const QString& reason)
{
    m_sniffer->Cancel();
    CGlobalData& data = CGlobalData::Instance();
    data.SetMainType(MT_UNKNOWN);
    data.SetSubType(ST_UNKNOWN);
    StopViewersBut(nullptr);
    m_stack->setCurrentWidget(m_unknownWnd);
    m_unknownWnd->SetReason(reason);
    m_unknownWnd->SetFacts(m_facts);
    m_unknownWnd->StartLoading();
}

void CMainWnd::SlotLoaded()
{
    auto* viewer = qobject_cast<CAbstractWnd*>(sender());
    if (!viewer)
        return;
    m_stack->setCurrentWidget(viewer);
    if (CGlobalData::Instance().Path() == QLatin1String(kHelpPicture))
        viewer->ControlBar()->hide();
    else
        viewer->UpdateControlBar();
    viewer->UpdateOpenWithIcon(m_facts.IsFolder());
    FitToContent(viewer);
    KeepWindowOnScreen();
    update();
}

void CMainWnd::FitToContent(CAbstractWnd* viewer)
{
    const QPoint centre = (m_placing ? QRect(m_placedAt, size()) : geometry()).center();
    SetContentSize(FitContentSize(viewer->GetSize(), MaxWndSize(ScreenArea())));
    QRect moved(QPoint(0, 0), size());
    moved.moveCenter(centre);
    PlaceAt(moved.topLeft());
}

void CMainWnd::PlaceAt(const QPoint& topLeft)
{
    m_placedAt = topLeft;
    m_placing = true;
    move(topLeft);
}

// The user moves the window from here on.
void CMainWnd::mousePressEvent(QMouseEvent* event)
{
    m_placing = false;
    CParentDlg::mousePressEvent(event);
}

void CMainWnd::KeepWindowOnScreen()
{
    const QRect placed = m_placing ? QRect(m_placedAt, frameGeometry().size()) : frameGeometry();
    PlaceAt(KeepOnScreen(placed, ScreenArea()));
}

// The screen chosen when the window was shown, until the user moves it: then the one it is on.
QRect CMainWnd::ScreenArea() const
{
    return m_placing && !m_screenArea.isNull() ? m_screenArea : AvailableScreenArea(frameGeometry());
}

void CMainWnd::SlotErr(QString str)
{
    auto* viewer = qobject_cast<CAbstractWnd*>(sender());
    if (viewer)
        qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << viewer->Manager()->m_err << str;
    const QString reason = !str.isEmpty() ? str : viewer ? viewer->Manager()->m_err : QString();
    QTimer::singleShot(0, this, [this, reason] { ShowInformation(reason); });
}

void CMainWnd::Display(const QRect& requester)
{
    if (!isVisible() || m_screenArea.isNull())
        m_screenArea = AvailableScreenArea(requester);
    if (m_hideAnimation)
        m_hideAnimation->stop(); // a fade still running would hide the window we show
    SetTitleBarVisible(GetSettingValue(SettingKey::DisplayTitlebar).toBool());
    setWindowOpacity(1.0);
    show();
}

void CMainWnd::showEvent(QShowEvent* event)
{
    CheckBlending(); // before sizing: the shadow band is part of the window's size
    SetContentSize(QSize(400, 300));
    if (m_screenArea.isNull())
        m_screenArea = AvailableScreenArea(QRect());
    PlaceAt(CentredIn(size(), m_screenArea));
    CParentDlg::showEvent(event);
}

void CMainWnd::hideEvent(QHideEvent* event)
{
    m_sniffer->Cancel();
    m_probe->Cancel();
    StopViewersBut(nullptr);
    emit SigHide();
    CParentDlg::hideEvent(event);
}

void CMainWnd::keyPressEvent(QKeyEvent* event)
{
    const bool arrow = event->key() == Qt::Key_Left || event->key() == Qt::Key_Right || event->key() == Qt::Key_Up ||
                       event->key() == Qt::Key_Down;
    if (arrow && event->modifiers() == Qt::NoModifier) {
        emit SigSelectionKey(event->key());
        return;
    }
    CParentDlg::keyPressEvent(event);
}

void CMainWnd::on_pushButton_close_clicked() { HideWnd(); }

void CMainWnd::HideWnd()
{
    CGlobalData::Instance().SetPath(QString());
    m_probe->Cancel(); // its answer would load into the hidden window
    if (m_pluginRun)
        m_pluginRun->Stop(); // a result arriving later would load into the hidden window
    if (m_hideAnimation || !isVisible())
        return;
    m_hideAnimation = FadeWindowOpacity(
        this, windowOpacity(), 0.0, 120, [this] { hide(); }, QEasingCurve::InCubic);
}

void CMainWnd::OpenByDefault(QString path)
{
    const QString p = path.isEmpty() ? CGlobalData::Instance().Path() : path;
    if (QFileInfo::exists(p) && OpenWithDefaultApp(p))
        HideWnd();
    else
        WaggleWnd();
}

void CMainWnd::RevealInExplorer(QString path)
{
    RevealInFileManager(path.isEmpty() ? CGlobalData::Instance().Path() : path);
    HideWnd();
}

void CMainWnd::WaggleWnd()
{
    if (GetSettingValue(SettingKey::CloseForOpenFailed).toBool()) {
        HideWnd();
        return;
    }
    if (!m_shake) {
        m_normalShadowColor = ShadowColor();
        m_shake = new QPropertyAnimation(this, "pos", this);
        connect(m_shake, &QPropertyAnimation::finished, this, [this] {
            SetShadowColor(m_normalShadowColor);
            UpdateShadow();
        });
    }
    if (m_shake->state() == QAbstractAnimation::Running)
        return;
    SetShadowColor(QColor("#ff6666"));
    UpdateShadow();
    const QPoint p = pos();
    m_shake->setKeyValues(
        {{0.0, p}, {0.166, p - QPoint(25, 0)}, {0.498, p + QPoint(25, 0)}, {0.83, p - QPoint(25, 0)}, {1.0, p}});
    m_shake->setDuration(540);
    m_shake->start();
}

bool CMainWnd::HandleDoubleClick(const QPoint& globalPos)
{
    CAbstractWnd* viewer = CurrentViewer();
    if (viewer && viewer->IsInControlBar(globalPos))
        return true;
    if (IsInTitleBar(globalPos)) {
        on_pushButton_max_clicked();
        return true;
    }
    if (!GetSettingValue(SettingKey::OpenFileByDefault).toBool())
        return false;
    OpenByDefault(CGlobalData::Instance().Path());
    return true;
}

bool CMainWnd::IsSettled() const
{
    return isVisible() && windowOpacity() == 1.0 && !CGlobalData::Instance().Path().isEmpty();
}

void CMainWnd::ToggleControlBar()
{
    if (!IsSettled() || CGlobalData::Instance().Path() == QLatin1String(kHelpPicture))
        return;
    SetSettingValue(SettingKey::DisplayControls, !GetSettingValue(SettingKey::DisplayControls).toBool());
    if (m_stack->currentWidget() != m_loadingLabel)
        if (CAbstractWnd* viewer = CurrentViewer())
            viewer->UpdateControlBar();
}

void CMainWnd::ToggleTitleBar()
{
    if (!IsSettled())
        return;
    const bool visible = !GetSettingValue(SettingKey::DisplayTitlebar).toBool();
    SetSettingValue(SettingKey::DisplayTitlebar, visible);
    if (m_stack->currentWidget() != m_loadingLabel)
        SetTitleBarVisible(visible);
}

CPluginRun* CMainWnd::PluginRun()
{
    if (m_pluginRun)
        return m_pluginRun;
    m_pluginRun = new CPluginRun(this);
    connect(m_pluginRun, &CPluginRun::SigConverted, this, [this](const QString& output, const QString& source) {
        Load(output);
        SetTitle(DisplayName(QFileInfo(source).fileName()));
    });
    connect(m_pluginRun, &CPluginRun::SigFailed, this, &CMainWnd::LoadUnknownFile);
    return m_pluginRun;
}

void CMainWnd::LoadPlugin(QStringList command)
{
    LoadLoading();
    PluginRun()->Start(command, CGlobalData::Instance().Path());
}

QString CMainWnd::ShownFile() const
{
    const QString path = CGlobalData::Instance().Path();
    return m_pluginRun ? m_pluginRun->SourceOf(path) : path;
}

#include "controller/cmain.h"

#include "version.h"

#include "Explorer/explorer.h"
#include "about/caboutwnd.h"
#include "Explorer/shortcut.h"
#include "cconfirmdlg/cconfirmdlg.h"
#include "cglobaldata/cglobaldata.h"
#include "controller/csystemtrayicon.h"
#include "core/settings.h"
#include "core/tempfolder.h"
#include "hook/ckeyboardhookcontroler.h"
#include "mainwnd/cmainwnd.h"
#include "mainwnd/pathprobe.h"
#include "platform/contenttype.h"
#include "platform/displayname.h"
#include "platform/fileinfo.h"
#include "platform/fileuri.h"
#include "platform/foregroundwindow.h"
#include "platform/previewerservice.h"
#include "platform/privatefolder.h"
#include "platform/updater.h"
#include "platform/windowgeometry.h"
#include "settings/csettingsdlg.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QDebug>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <utility>

namespace {

// The file manager reports a Space press before the key is released; a report this long
// after the press belongs to it.
constexpr qint64 kSamePressMs = 2000;
// A file manager too busy to tell its selection at a key press is asked again, this often in all.
constexpr int kPressLookups = 4;
constexpr int kPressLookupGapMs = 150;
// Second starts can come in a flood; their notices at most this often.
constexpr qint64 kForwardNoticeGapMs = 1000;
// Previews asked for, kept behind a newer request that may turn out to have nothing to preview.
constexpr int kMaxSuperseded = 8;

// A private folder for links to files whose names Qt cannot hold; empty when there is none.
QString StandInFolder() { return TempFolder().isEmpty() ? QString() : TempFolder() + QStringLiteral("names"); }

// A Space typed into a text field (the font viewer's sample text) is text, not the trigger key.
bool IsTypingInto(const QWidget* focus)
{
    if (const auto* line = qobject_cast<const QLineEdit*>(focus))
        return !line->isReadOnly();
    if (const auto* text = qobject_cast<const QTextEdit*>(focus))
        return !text->isReadOnly();
    if (const auto* plain = qobject_cast<const QPlainTextEdit*>(focus))
        return !plain->isReadOnly();
    return qobject_cast<const QAbstractSpinBox*>(focus) != nullptr;
}

// Late enough to leave the start to itself, early enough to be done before a first Space.
constexpr int kWarmUpDelayMs = 300;

} // namespace

CMain::CMain()
    : m_tray(new CSystemTrayIcon), m_wnd(new CMainWnd), m_service(new PreviewerService(this)),
      m_probe(new PathProbe(PathProbe::Links::Follow, this))
{
    QTimer::singleShot(0, this, &CMain::DelayInit);
    connect(m_tray, &CSystemTrayIcon::SigQuit, this, &CMain::QuitApp);
    connect(m_tray, &CSystemTrayIcon::SigQuerySettings, this, &CMain::SlotShowSettings);
    connect(m_tray, &CSystemTrayIcon::SigHelp, this, &CMain::SlotShowHelpDlg);
    connect(m_tray, &CSystemTrayIcon::SigQueryAbout, this, &CMain::SlotShowAboutDlg);
    m_timer.setTimerType(Qt::VeryCoarseTimer);
    m_timer.setInterval(500);
    connect(&m_timer, &QTimer::timeout, this, &CMain::SlotFocusedItemChecker);
    connect(m_wnd, &CMainWnd::SigHide, &m_timer, &QTimer::stop);
    // A storm of releases leaves at most one lookup waiting.
    m_hookTrigger.setSingleShot(true);
    m_hookTrigger.setInterval(0);
    connect(&m_hookTrigger, &QTimer::timeout, this, &CMain::SlotHookActived);
    m_pressLookupRetry.setSingleShot(true);
    m_heldNoticeTimer.setSingleShot(true);
    connect(&m_heldNoticeTimer, &QTimer::timeout, this, &CMain::ShowHeldNotice);
    m_pressLookupRetry.setInterval(kPressLookupGapMs);
    connect(&m_pressLookupRetry, &QTimer::timeout, this, &CMain::LookUpPressedItem);
    m_service->SetStandInFolder(StandInFolder());
    connect(m_service, &PreviewerService::SigShowFile, this, &CMain::OnShowFile);
    connect(m_probe, &PathProbe::SigProbed, this, &CMain::OnProbed);
    connect(m_service, &PreviewerService::SigClose, m_wnd, &CMainWnd::HideWnd);
    connect(m_wnd, &CMainWnd::SigSelectionKey, m_service, &PreviewerService::SendSelectionKey);
    m_service->SetTakeover(GetSettingValue(SettingKey::PreviewerTakeover).toBool());
    qApp->installEventFilter(this);
}

CMain::~CMain()
{
    delete m_tray;
    delete m_wnd;
    Updater::Cleanup();
    if (!TempFolder().isEmpty()) // an empty path would name the working folder
        RemovePrivateFolder(TempFolder());
}

void CMain::DelayInit()
{
    QTimer::singleShot(0, this, [] { WarmShellCaches(); });
    CKeyboardHookControler* hook = KeyboardHook();
    connect(hook, &CKeyboardHookControler::SigHookFailed, this, &CMain::SlotHookFailed);
    connect(hook, &CKeyboardHookControler::SigKeyPressed, &m_hookTrigger, qOverload<>(&QTimer::start));
    connect(hook, &CKeyboardHookControler::SigTriggerKeyDown, this, &CMain::OnTriggerKeyDown);
    // While the preview has the focus its own key handling closes it.
    connect(hook, &CKeyboardHookControler::SigEscapeReleased, this, [this] {
        if (m_wnd->isVisible() && !m_wnd->isActiveWindow() && !CGlobalData::Instance().Path().isEmpty())
            m_wnd->HideWnd();
    });
    if (GetSettingValue(SettingKey::ShowWelcome).toBool()) {
        SlotShowHelpDlg();
        SetSettingValue(SettingKey::ShowWelcome, false);
    }
    QTimer::singleShot(0, this, &CMain::CheckUpdates);
    QTimer::singleShot(kWarmUpDelayMs, m_wnd, &CMainWnd::WarmUp);
}

void CMain::CheckUpdates()
{
    Updater::SetAppcastUrl("https://keplo.github.io/vuel/appcast.xml");
    Updater::SetAppDetails(L"Keplo", L"Vuel", VUEL_VERSION_WIDE);
    Updater::Init();
    Updater::CheckUpdateWithoutUi();
}

void CMain::OnTriggerKeyDown()
{
    ++m_presses;
    m_sincePress.start();
}

// True the first time a press is claimed; a report with no press behind it (a call from a
// script, say) always acts.
bool CMain::TakeKeyPress()
{
    if (!m_sincePress.isValid() || m_sincePress.elapsed() > kSamePressMs)
        return true;
    if (m_pressesActedOn == m_presses)
        return false;
    m_pressesActedOn = m_presses;
    return true;
}

void CMain::SlotHookActived()
{
    m_pressLookups = 0;
    m_pressLookupRetry.stop();
    LookUpPressedItem();
}

// The user waits on a key press: after a first usual lookup, the next ones get the most time.
void CMain::LookUpPressedItem()
{
    const FocusedItem item = GetThePath(m_service, m_pressLookups++ ? Patience::Most : Patience::Usual);
    if (item.unanswered && m_pressLookups < kPressLookups) {
        m_pressLookupRetry.start();
        return;
    }
    if (!item.paths.isEmpty())
        Probe(item.paths, Ask::Press, ForegroundWindow());
}

void CMain::OnShowFile(const QString& path, bool toggle, quint64 window)
{
    Probe({path}, toggle ? Ask::Toggle : Ask::Follow, window);
}

// One probe at a time: a request for the paths being probed takes its answer, any other drops it.
void CMain::Probe(const QStringList& paths, Ask ask, quint64 window)
{
    const bool probing = m_probe->IsProbing(paths);
    if (probing && ask == Ask::Follow) // the request already waiting asks at least as much
        return;
    // A command's outcome is a notice, and the latest notice is the one that counts.
    if (!probing && m_probe->IsProbing(m_request.paths) && m_request.ask != Ask::Command) {
        m_superseded.append(m_request);
        if (m_superseded.size() > kMaxSuperseded)
            m_superseded.removeFirst();
    }
    m_request = {paths, ask, window, QString(), QString()};
    if (!probing)
        m_probe->Start(paths);
}

void CMain::OnProbed(const QString& asked, const PathFacts& facts)
{
    if (!m_request.paths.contains(asked))
        return;
    m_request.target = PreviewTarget(asked, facts, KnowsContentTypes());
    if (m_request.target.isEmpty()) {
        if (m_request.ask == Ask::Command)
            ShowForwardNotice(tr("%1 not found.").arg(m_request.name));
        else
            qDebug() << "ShowFile: nothing to preview at" << asked.left(200);
        ProbeSuperseded();
        return;
    }
    m_superseded.clear();
    ActOnProbed(facts);
}

void CMain::ProbeSuperseded()
{
    if (m_superseded.isEmpty())
        return;
    m_request = m_superseded.takeLast();
    m_request.target.clear();
    m_probe->Start(m_request.paths);
}

void CMain::ActOnProbed(const PathFacts& facts)
{
    const QString& target = m_request.target;
    if (m_request.ask == Ask::Command) {
        qDebug() << "command:" << target;
        ActiveWindow(facts);
        return;
    }
    if (!KeyboardHook()->enabled) // a modal window of ours is open
        return;
    if (m_request.ask != Ask::Follow) {
        if (TakeKeyPress())
            ActiveWindow(facts, m_request.window);
        return;
    }
    // A new selection while the preview is shown.
    if (GetSettingValue(SettingKey::TrackingFile).toBool() && m_wnd->isVisible() && target != m_wnd->ShownFile())
        ActiveWindow(facts);
}

void CMain::ActiveWindow(const PathFacts& facts, quint64 requester)
{
    static QString lastPath;
    // A window still fading out is no longer showing anything: it comes back.
    const bool showing = m_wnd->isVisible() && !CGlobalData::Instance().Path().isEmpty();
    if (facts.path == lastPath && showing) {
        m_wnd->HideWnd();
        return;
    }
    if (!m_wnd->isVisible())
        m_wnd->Display(WindowGeometry(requester));
    m_wnd->LoadProbed(facts.path, facts);
    lastPath = CGlobalData::Instance().Path();
    if (GetSettingValue(SettingKey::TrackingFile).toBool())
        QTimer::singleShot(0, &m_timer, qOverload<>(&QTimer::start));
}

void CMain::SlotFocusedItemChecker()
{
    // A window fading out shows nothing any more: the user closed it, following the selection
    // would bring it back.
    if (!m_wnd->isVisible() || CGlobalData::Instance().Path().isEmpty()) {
        m_timer.stop();
        return;
    }
    if (m_wnd->isActiveWindow())
        return;
    const QStringList paths = GetThePath(m_service).paths;
    // A selection asked for already is asked again only when the window moved on from its answer.
    const bool answered = m_request.target.isEmpty() || m_request.target == m_wnd->ShownFile();
    const bool asked = paths == m_request.paths && (m_probe->IsProbing(paths) || answered);
    if (!paths.isEmpty() && !asked)
        Probe(paths, Ask::Follow);
}

void CMain::SlotForwardedArgs(const QStringList& args)
{
    const QString first = args.value(0);
    // Without a tray, starting Vuel again from the application menu is the way to its settings.
    if (first == QLatin1String("--settings") || (args.isEmpty() && !QSystemTrayIcon::isSystemTrayAvailable())) {
        QTimer::singleShot(0, this, &CMain::SlotShowSettings); // a modal loop must not run inside the socket's slot
        return;
    }
    if (first == QLatin1String("--quit")) {
        QTimer::singleShot(0, this, &CMain::QuitApp);
        return;
    }
    if (args.isEmpty()) {
        ShowForwardNotice(tr("Application is already running."));
        return;
    }
    qDebug() << "forwarded:" << first.left(200);
    const QString path = OpenablePathOfArgument(first, StandInFolder());
    const QByteArray bytes = LocalFileBytes(first);
    const QString name = DisplayName(bytes.isEmpty() ? first : QFile::decodeName(bytes));
    if (path.isEmpty()) {
        ShowForwardNotice(tr("%1 not found.").arg(name));
        return;
    }
    Probe({path}, Ask::Command);
    m_request.name = name;
}

// At most one notice a second: within the second the latest is held back and shown when it ends,
// so a flood of starts brings few balloons and the last word is never lost.
void CMain::ShowForwardNotice(const QString& text)
{
    const qint64 since = m_lastForwardNotice.isValid() ? m_lastForwardNotice.elapsed() : kForwardNoticeGapMs;
    if (since < kForwardNoticeGapMs) {
        qDebug() << "notice: held back" << text.left(200);
        m_heldNotice = text;
        if (!m_heldNoticeTimer.isActive())
            m_heldNoticeTimer.start(int(kForwardNoticeGapMs - since));
        return;
    }
    m_lastForwardNotice.start();
    m_tray->ShowNotice(tr("Notice"), text);
}

void CMain::ShowHeldNotice()
{
    if (!m_heldNotice.isEmpty())
        ShowForwardNotice(std::exchange(m_heldNotice, QString()));
}

void CMain::SlotShowHelpDlg()
{
    KeyboardHook()->enabled = false;
    m_tray->SetMenuEnabled(false);
    m_wnd->Display();
    m_wnd->Load(QStringLiteral("://help.jpg"));
    KeyboardHook()->enabled = true;
    m_tray->SetMenuEnabled(true);
}

void CMain::BlockReentry(bool block)
{
    KeyboardHook()->enabled = !block;
    m_tray->SetMenuEnabled(!block);
    if (block) {
        CGlobalData::Instance().SetPath(QString());
        m_wnd->HideWnd();
    }
}

void CMain::PrepareHost(CConfirmDlg* host)
{
    host->SetTitleBarHeight(28);
    host->SetIcon(QStringLiteral("://icons/32.png"));
    host->HideLeftTitleWidget();
}

void CMain::SlotShowSettings()
{
    if (m_settingsOpen)
        return;
    m_settingsOpen = true;
    BlockReentry(true);
    auto [host, settings] = CConfirmDlg::CreateDialog<CSettingsDlg>(tr("Settings"), true);
    PrepareHost(host);
    host->setWindowOpacity(1.0);
    host->SetCloseOnEsc(false);
    host->SetContentSize(QSize(600, 400));
    host->setFixedSize(host->size());
    if (host->exec() == 1) {
        settings->SaveSettings();
        m_service->SetTakeover(GetSettingValue(SettingKey::PreviewerTakeover).toBool());
    }
    BlockReentry(false);
    m_settingsOpen = false;
}

void CMain::SlotShowAboutDlg()
{
    BlockReentry(true);
    auto [host, about] = CConfirmDlg::CreateDialog<CAboutWnd>(tr("About"), true);
    Q_UNUSED(about)
    host->SetCloseOnEsc(true);
    host->SetCancelVisible(false);
    PrepareHost(host);
    host->SetOkText(tr("About to close~"));
    host->SetContentSize(QSize(400, 470));
    host->setFixedSize(host->size());
    host->exec();
    BlockReentry(false);
}

void CMain::SlotHookFailed()
{
    CConfirmDlg::ShowMessage(tr("Error"), tr("Monitor 'Space' key failed, can't proceed."), tr("Quit"), true, nullptr);
    qDebug() << "g_pkeyboard Hook Failed";
    m_wnd->HideWnd();
    QCoreApplication::quit();
}

void CMain::QuitApp()
{
    m_wnd->HideWnd();
    QCoreApplication::quit();
}

bool CMain::IsTriggerRelease(const QKeyEvent* event) const
{
    const Qt::KeyboardModifiers mods = event->modifiers();
    return GetSettingValue(SettingKey::UseTriggerKeyClose).toBool() && event->key() == Qt::Key_Space &&
           mods.testFlag(Qt::AltModifier) == GetSettingValue(SettingKey::KeyAlt).toBool() &&
           mods.testFlag(Qt::ControlModifier) == GetSettingValue(SettingKey::KeyCtrl).toBool() &&
           mods.testFlag(Qt::ShiftModifier) == GetSettingValue(SettingKey::KeyShift).toBool();
}

bool CMain::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
        if (watched == m_wnd)
            m_service->SetVisible(event->type() == QEvent::Show);
        break;
    case QEvent::MouseButtonDblClick:
        if (!CGlobalData::Instance().Path().isEmpty())
            return m_wnd->HandleDoubleClick(static_cast<QMouseEvent*>(event)->globalPos());
        break;
    case QEvent::KeyRelease: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape || (IsTriggerRelease(key) && !IsTypingInto(QApplication::focusWidget()))) {
            m_wnd->HideWnd();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

#include "controller/cmain.h"

#include "cglobaldata/cglobaldata.h"
#include "controller/csystemtrayicon.h"
#include "core/settings.h"
#include "core/tempfolder.h"
#include "mainwnd/cmainwnd.h"
#include "platform/fileinfo.h"
#include "platform/updater.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

CMain::CMain() : m_tray(new CSystemTrayIcon), m_wnd(new CMainWnd)
{
    QTimer::singleShot(0, this, &CMain::DelayInit);
    connect(m_tray, &CSystemTrayIcon::SigQuit, this, &CMain::QuitApp);
    connect(m_tray, &CSystemTrayIcon::SigHelp, this, &CMain::SlotShowHelpDlg);
    qApp->installEventFilter(this);
}

CMain::~CMain()
{
    delete m_tray;
    delete m_wnd;
    Updater::Cleanup();
    QDir(TempFolder()).removeRecursively();
}

void CMain::DelayInit()
{
    QTimer::singleShot(0, this, [] { WarmShellCaches(); });
    QTimer::singleShot(0, this, &CMain::CheckUpdates);
}

void CMain::CheckUpdates()
{
    Updater::SetAppcastUrl("https://keplo.github.io/vuel/appcast.xml");
    Updater::SetAppDetails(L"Keplo", L"Vuel", L"0.4.2");
    Updater::Init();
    Updater::CheckUpdateWithoutUi();
}

void CMain::QuitApp()
{
    m_wnd->HideWnd();
    QCoreApplication::quit();
}

void CMain::ActiveWindow(QString path)
{
    static QString lastPath;
    if (path == lastPath && m_wnd->isVisible()) {
        m_wnd->HideWnd();
        return;
    }
    if (!m_wnd->isVisible())
        m_wnd->Display();
    m_wnd->Load(path);
    lastPath = CGlobalData::Instance().Path();
}

void CMain::SlotForwardedArgs(const QStringList& args)
{
    if (args.isEmpty()) {
        m_tray->ShowNotice(tr("Notice"), tr("Application is already running."));
        return;
    }
    const QString& first = args.first();
    if (!QFile(first).exists()) {
        m_tray->ShowNotice(tr("Notice"), tr("%1 not found.").arg(first));
        return;
    }
    qDebug() << "command:" << first;
    ActiveWindow(first);
}

void CMain::SlotShowHelpDlg()
{
    m_tray->SetMenuEnabled(false);
    m_wnd->Display();
    m_wnd->Load(QStringLiteral("://help.jpg"));
    m_tray->SetMenuEnabled(true);
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
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (!CGlobalData::Instance().Path().isEmpty())
            return m_wnd->HandleDoubleClick(static_cast<QMouseEvent*>(event)->globalPos());
    } else if (event->type() == QEvent::KeyRelease) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape || IsTriggerRelease(key)) {
            m_wnd->HideWnd();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

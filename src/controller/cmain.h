#pragma once

#include "platform/pathfacts.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>

class CConfirmDlg;
class CMainWnd;
class CSystemTrayIcon;
class PathProbe;
class PreviewerService;
class QKeyEvent;

// Ties the running instance together: the trigger key, the file manager's selection, the
// tray icon and the preview window.
class CMain : public QObject
{
    Q_OBJECT
public:
    CMain();
    ~CMain() override;

    CSystemTrayIcon* Tray() const { return m_tray; }
    CMainWnd* PreviewWindow() const { return m_wnd; }

public slots:
    void QuitApp();
    // `requester`: the XID of the file-manager window that asked, whose screen the preview opens on.
    void ActiveWindow(const PathFacts& facts, quint64 requester = 0);
    // A second start's arguments: the first existing path is previewed.
    void SlotForwardedArgs(const QStringList& args);

private slots:
    void CheckUpdates();
    void DelayInit();
    void SlotShowSettings();
    void SlotShowAboutDlg();
    void SlotShowHelpDlg();
    void SlotFocusedItemChecker();
    void SlotHookFailed();
    void SlotHookActived();
    void LookUpPressedItem();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Who asked for a path: each acts on its facts in its own way.
    enum class Ask { Toggle, Follow, Press, Command };
    struct Request {
        QStringList paths; // where it may be, likeliest first
        Ask ask = Ask::Follow;
        quint64 window = 0;
        QString target; // what the answer made of it
        QString name;   // a command's argument, as its notice names it
    };
    // The paths' facts are taken off the window's thread; the latest request is answered.
    void Probe(const QStringList& paths, Ask ask, quint64 window = 0);
    void OnProbed(const QString& asked, const PathFacts& facts);
    void ActOnProbed(const PathFacts& facts);
    void ProbeSuperseded();
    bool IsTriggerRelease(const QKeyEvent* event) const;
    void OnTriggerKeyDown();
    bool TakeKeyPress();
    void OnShowFile(const QString& path, bool toggle, quint64 window);
    // While a modal window of ours is open neither the trigger key nor the tray may re-enter.
    void BlockReentry(bool block);
    void PrepareHost(CConfirmDlg* host);
    void ShowForwardNotice(const QString& text);
    void ShowHeldNotice();

    QTimer m_timer;
    CSystemTrayIcon* m_tray;
    CMainWnd* m_wnd;
    PreviewerService* m_service;
    PathProbe* m_probe;
    Request m_request;
    // Requests a newer one replaced before their answer, newest last: when the newer one has
    // nothing to preview, they stand, as if each had been answered in turn.
    QList<Request> m_superseded;
    // One press of the trigger key is acted on once, whether the hook or the file
    // manager's own call reports it first.
    QTimer m_hookTrigger;
    QElapsedTimer m_sincePress;
    quint64 m_presses = 0;
    quint64 m_pressesActedOn = 0;
    QTimer m_pressLookupRetry;
    int m_pressLookups = 0;
    bool m_settingsOpen = false;
    QElapsedTimer m_lastForwardNotice;
    QTimer m_heldNoticeTimer;
    QString m_heldNotice;
};

#pragma once

#include <QObject>
#include <QString>

class CMainWnd;
class CSystemTrayIcon;

// Ties the running instance together: the tray icon, the preview window and the paths
// handed to it.
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
    void ActiveWindow(QString path);
    // A second start's arguments: the first existing path is previewed.
    void SlotForwardedArgs(const QStringList& args);

private slots:
    void CheckUpdates();
    void DelayInit();
    void SlotShowHelpDlg();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool IsTriggerRelease(const class QKeyEvent* event) const;

    CSystemTrayIcon* m_tray;
    CMainWnd* m_wnd;
};

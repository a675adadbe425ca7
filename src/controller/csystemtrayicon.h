#pragma once

#include <QSystemTrayIcon>

class QMenu;

// The running instance's only permanent presence: the notification-area icon and its menu.
class CSystemTrayIcon : public QSystemTrayIcon
{
    Q_OBJECT
public:
    explicit CSystemTrayIcon(QObject* parent = nullptr);
    ~CSystemTrayIcon() override;

    void SetMenuEnabled(bool enabled);
    // A balloon, also written to the debug log so that a notice is never only on screen.
    void ShowNotice(const QString& title, const QString& text);

signals:
    void SigQuit();
    void SigQuerySettings();
    void SigQueryAbout();
    void SigHelp();

private slots:
    void QuitTray();

private:
    void InitMenu();
    void ShowStartBalloon();

    QMenu* m_menu;
};

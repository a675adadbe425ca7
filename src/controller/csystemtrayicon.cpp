#include "controller/csystemtrayicon.h"

#include "platform/desktopnotice.h"

#include <QDebug>
#include <QMenu>
#include <QTimer>

CSystemTrayIcon::CSystemTrayIcon(QObject* parent) : QSystemTrayIcon(parent), m_menu(new QMenu(tr("Menu")))
{
    InitMenu();
    setContextMenu(m_menu);
    setIcon(QIcon(QStringLiteral("://icons/32.png")));
    setToolTip(QStringLiteral("Vuel"));
    QTimer::singleShot(0, this, &CSystemTrayIcon::ShowStartBalloon);
}

CSystemTrayIcon::~CSystemTrayIcon() { delete m_menu; }

void CSystemTrayIcon::InitMenu()
{
    m_menu->addAction(tr("&Settings"), this, &CSystemTrayIcon::SigQuerySettings);
    m_menu->addAction(tr("&About"), this, &CSystemTrayIcon::SigQueryAbout);
    m_menu->addAction(tr("&Help"), this, &CSystemTrayIcon::SigHelp);
    m_menu->addSeparator();
    m_menu->addAction(tr("&Quit"), this, &CSystemTrayIcon::QuitTray);
}

void CSystemTrayIcon::ShowStartBalloon()
{
    setVisible(true);
    // the tests wait for this line; the balloon's own text is translated
    qDebug() << "tray: started";
    ShowNotice(tr("Information"), tr("Application started."));
}

void CSystemTrayIcon::ShowNotice(const QString& title, const QString& text)
{
    qDebug() << "notice:" << title << text;
    if (isSystemTrayAvailable())
        showMessage(title, text, QSystemTrayIcon::Information, 10000);
    else
        ShowDesktopNotice(title, text);
}

void CSystemTrayIcon::SetMenuEnabled(bool enabled)
{
    for (QAction* action : m_menu->actions())
        action->setEnabled(enabled);
}

void CSystemTrayIcon::QuitTray()
{
    setVisible(false);
    emit SigQuit();
}

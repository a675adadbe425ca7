#include "platform/desktopnotice.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QStringList>
#include <QVariantMap>

void ShowDesktopNotice(const QString& title, const QString& text)
{
    constexpr int kShownMs = 10000;
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    notify << QStringLiteral("Vuel") << 0u << QStringLiteral("vuel") << title << text << QStringList() << QVariantMap()
           << kShownMs;
    QDBusConnection::sessionBus().asyncCall(notify);
}

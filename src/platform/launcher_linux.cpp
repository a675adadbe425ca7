#include "platform/launcher.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDebug>
#include <QFileInfo>
#include <QUrl>

// GLib names a struct member "signals", which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gio.h>
#pragma pop_macro("signals")

bool OpenWithDefaultApp(const QString& path)
{
    const QByteArray uri = QUrl::fromLocalFile(path).toEncoded();
    GError* error = nullptr;
    const bool ok = g_app_info_launch_default_for_uri(uri.constData(), nullptr, &error);
    if (!ok) {
        qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << (error ? error->message : "no default application");
        g_clear_error(&error);
    }
    return ok;
}

void RevealInFileManager(const QString& path)
{
    const QFileInfo fi(path);
    const QString folder = fi.isDir() ? fi.absoluteFilePath() : fi.absolutePath();
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"),
        fi.isDir() ? QStringLiteral("ShowFolders") : QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(fi.absoluteFilePath()).toString()} << QString();

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        OpenWithDefaultApp(folder);
        return;
    }
    // Asynchronous: activating a file manager can take seconds, the window must not wait.
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 5000));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [watcher, folder] {
        if (watcher->isError()) {
            qDebug() << "FileManager1 failed:" << watcher->error().message() << "- opening" << folder;
            OpenWithDefaultApp(folder);
        }
        watcher->deleteLater();
    });
}

#include "platform/previewerservice.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QUrl>

namespace {

constexpr char kServiceName[] = "org.gnome.NautilusPreviewer";
constexpr char kObjectPath[] = "/org/gnome/NautilusPreviewer";
constexpr char kInterface[] = "org.gnome.NautilusPreviewer2";
// A URI is a path with a scheme: anything longer is not one a file manager sends.
constexpr int kMaxUriLength = 64 * 1024;

// "x11:4a00003" (hexadecimal XID); other kinds of handle name no window we can compare.
quint64 WindowOfHandle(const QString& handle)
{
    if (!handle.startsWith(QLatin1String("x11:")))
        return 0;
    bool ok = false;
    const quint64 xid = handle.midRef(4).toULongLong(&ok, 16);
    return ok ? xid : 0;
}

} // namespace

// What the bus sees; forwards to the service.
class PreviewerBusAdaptor : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.NautilusPreviewer2")
    Q_PROPERTY(bool Visible READ Visible)
public:
    explicit PreviewerBusAdaptor(PreviewerService* service) : QDBusAbstractAdaptor(service), m_service(service) {}
    bool Visible() const { return m_service->IsVisible(); }

public slots:
    void ShowFile(const QString& uri, const QString& window_handle, bool close_if_already_visible)
    {
        m_service->HandleShowFile(uri, window_handle, close_if_already_visible);
    }
    void Close() { emit m_service->SigClose(); }

signals:
    void SelectionEvent(uint direction);

private:
    PreviewerService* m_service;
};

PreviewerService::PreviewerService(QObject* parent) : QObject(parent), m_adaptor(new PreviewerBusAdaptor(this))
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << "no session bus:" << bus.lastError().message();
        return;
    }
    if (!bus.registerObject(QLatin1String(kObjectPath), this)) {
        qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << "cannot register" << kObjectPath;
        return;
    }
    m_registered = bus.registerService(QLatin1String(kServiceName));
    if (!m_registered)
        qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << kServiceName << "is owned by another program:"
                 << bus.lastError().message();
    InstallActivationFile();
}

PreviewerService::~PreviewerService()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (m_registered)
        bus.unregisterService(QLatin1String(kServiceName));
    bus.unregisterObject(QLatin1String(kObjectPath));
}

void PreviewerService::HandleShowFile(const QString& uri, const QString& windowHandle, bool toggle)
{
    const QUrl url(uri.size() <= kMaxUriLength ? uri : QString());
    if (!url.isLocalFile()) {
        qDebug() << "ShowFile: not a local file URI:" << uri.left(200);
        return;
    }
    const QString path = url.toLocalFile();
    if (const quint64 window = WindowOfHandle(windowHandle))
        m_reported.insert(window, path);
    emit SigShowFile(path, toggle);
}

void PreviewerService::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    emit SigVisibleChanged(visible);
    // GNOME Files follows the property through this signal alone: it sends the selection
    // only while it believes the preview is shown.
    QDBusMessage changed = QDBusMessage::createSignal(QLatin1String(kObjectPath),
                                                      QStringLiteral("org.freedesktop.DBus.Properties"),
                                                      QStringLiteral("PropertiesChanged"));
    changed << QLatin1String(kInterface) << QVariantMap{{QStringLiteral("Visible"), visible}} << QStringList();
    QDBusConnection::sessionBus().send(changed);
}

// The user's own services folder comes before the system's: GNOME Files then starts us.
void PreviewerService::InstallActivationFile()
{
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/dbus-1/services");
    const QString path = folder + QLatin1Char('/') + QLatin1String(kServiceName) + QStringLiteral(".service");
    const QByteArray content = QByteArrayLiteral("[D-BUS Service]\nName=") + kServiceName +
                               QByteArrayLiteral("\nExec=") +
                               QFile::encodeName(QCoreApplication::applicationFilePath()) + '\n';
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && file.readAll() == content)
        return;
    file.close();
    QDir().mkpath(folder);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size()) {
        qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << path << file.errorString();
        return;
    }
    file.close();
    // The bus reads a folder that did not exist when it started only when told to.
    QDBusConnection::sessionBus().asyncCall(QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ReloadConfig")));
}

#include "previewerservice_linux.moc"

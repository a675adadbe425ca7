#include "platform/previewerservice.h"

#include "platform/fileuri.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDebug>
#include <QDir>
#include <QDBusReply>
#include <QFile>
#include <QRegularExpression>
#include <QFileInfo>
#include <QStandardPaths>

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

// An activation file's place below a data folder (the user's, or the system's).
QString ServiceFileName()
{
    return QStringLiteral("dbus-1/services/") + QLatin1String(kServiceName) + QStringLiteral(".service");
}

QString ActivationFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1Char('/') + ServiceFileName();
}

QString SingleQuoted(QString text)
{
    return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QLatin1String("'\\''")) + QLatin1Char('\'');
}

// The bus splits Exec like a shell: inside double quotes a backslash escapes these four.
QString BusDoubleQuoted(QString text)
{
    for (const char* special : {"\\", "\"", "$", "`"})
        text.replace(QLatin1String(special), QLatin1Char('\\') + QLatin1String(special));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// What the system's own activation file starts (GNOME Sushi's), for the hand-over below.
QString SystemPreviewerCommand(const QString& ownFile)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./@%+=:, -]+$"));
    for (const QString& path : QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, ServiceFileName())) {
        QFile file(path);
        if (path == ownFile || !file.open(QIODevice::ReadOnly))
            continue;
        const QByteArray exec = QByteArrayLiteral("Exec=");
        for (const QByteArray& line : file.read(64 * 1024).split('\n')) {
            const QString command = QString::fromUtf8(line.mid(exec.size())).trimmed();
            if (line.startsWith(exec) && plain.match(command).hasMatch())
                return command;
        }
    }
    return QStringLiteral("/usr/libexec/") + QLatin1String(kServiceName);
}

// Once the program is gone (package removed, build folder deleted), the file removes itself
// and hands this request on: the bus watches its folders, so the next Space finds the
// system's previewer.
QByteArray ActivationFileContent(const QString& program, const QString& file)
{
    const QString script = QStringLiteral("test -x %1 && exec %1; rm -f %2; exec %3")
                               .arg(SingleQuoted(program), SingleQuoted(file), SystemPreviewerCommand(file));
    return QByteArrayLiteral("[D-BUS Service]\nName=") + kServiceName + QByteArrayLiteral("\nExec=/bin/sh -c ") +
           BusDoubleQuoted(script).toUtf8() + '\n';
}

void ReloadBusConfig()
{
    // The bus reads a folder that did not exist when it started only when told to.
    QDBusConnection::sessionBus().asyncCall(
        QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                                       QStringLiteral("org.freedesktop.DBus"), QStringLiteral("ReloadConfig")));
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
    if (!bus.registerObject(QLatin1String(kObjectPath), this))
        qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << "cannot register" << kObjectPath;
    connect(bus.interface(), &QDBusConnectionInterface::serviceRegistered, this, &PreviewerService::OnNameAcquired);
    connect(bus.interface(), &QDBusConnectionInterface::serviceUnregistered, this, &PreviewerService::OnNameLost);
}

PreviewerService::~PreviewerService()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (m_registered)
        bus.unregisterService(QLatin1String(kServiceName));
    bus.unregisterObject(QLatin1String(kObjectPath));
}

void PreviewerService::SetTakeover(bool on)
{
    if (!QDBusConnection::sessionBus().isConnected())
        return;
    if (on) {
        InstallActivationFile();
        RequestName();
    } else {
        ReleaseName();
        RemoveActivationFile();
    }
}

// Queued behind a previewer that holds the name: the bus hands it over when that one quits,
// instead of starting a second Vuel for the next Space.
void PreviewerService::RequestName()
{
    if (m_registered)
        return;
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        QDBusConnection::sessionBus().interface()->registerService(QLatin1String(kServiceName),
                                                                   QDBusConnectionInterface::QueueService,
                                                                   QDBusConnectionInterface::DontAllowReplacement);
    if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceRegistered)
        OnNameAcquired(QLatin1String(kServiceName));
    else if (reply.isValid() && reply.value() == QDBusConnectionInterface::ServiceQueued)
        qDebug() << "previewer: waiting for" << kServiceName << "held by another program";
    else
        qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << kServiceName << reply.error().message();
}

void PreviewerService::ReleaseName()
{
    // Also leaves the queue when the name was never ours.
    QDBusConnection::sessionBus().interface()->unregisterService(QLatin1String(kServiceName));
    OnNameLost(QLatin1String(kServiceName));
}

void PreviewerService::OnNameAcquired(const QString& name)
{
    if (name != QLatin1String(kServiceName) || m_registered)
        return;
    m_registered = true;
    qDebug() << "previewer: owns" << kServiceName;
}

void PreviewerService::OnNameLost(const QString& name)
{
    if (name != QLatin1String(kServiceName) || !m_registered)
        return;
    m_registered = false;
    SetVisible(false);
    qDebug() << "previewer: released" << kServiceName;
}

void PreviewerService::HandleShowFile(const QString& uri, const QString& windowHandle, bool toggle)
{
    const QByteArray bytes = LocalFileBytes(uri, kMaxUriLength);
    const QString path = bytes.isEmpty() ? QString() : OpenablePath(bytes, m_standInFolder);
    if (path.isEmpty()) {
        qDebug() << "ShowFile: not a local file URI:" << uri.left(200);
        return;
    }
    const quint64 window = WindowOfHandle(windowHandle);
    if (window)
        Remember(window, path);
    emit SigShowFile(path, toggle, window);
}

// A caller can make up any number of windows: only the latest ones are kept.
void PreviewerService::Remember(quint64 window, const QString& path)
{
    constexpr int kWindowsKept = 256;
    if (m_reported.contains(window))
        m_reportOrder.removeOne(window);
    m_reported.insert(window, path);
    m_reportOrder.append(window);
    while (m_reportOrder.size() > kWindowsKept)
        m_reported.remove(m_reportOrder.takeFirst());
}

void PreviewerService::SendSelectionKey(int key)
{
    // GTK's direction numbers, which GNOME Files expects.
    static const QHash<int, uint> directions{{Qt::Key_Up, 2}, {Qt::Key_Down, 3}, {Qt::Key_Left, 4}, {Qt::Key_Right, 5}};
    if (m_registered && directions.contains(key))
        emit m_adaptor->SelectionEvent(directions.value(key));
}

void PreviewerService::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    emit SigVisibleChanged(visible);
    // GNOME Files follows the property through this signal alone: it sends the selection
    // only while it believes the preview is shown.
    QDBusMessage changed =
        QDBusMessage::createSignal(QLatin1String(kObjectPath), QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    changed << QLatin1String(kInterface) << QVariantMap{{QStringLiteral("Visible"), visible}} << QStringList();
    QDBusConnection::sessionBus().send(changed);
}

// The user's own services folder comes before the system's: GNOME Files then starts us.
void PreviewerService::InstallActivationFile()
{
    const QString path = ActivationFilePath();
    const QByteArray content = ActivationFileContent(QCoreApplication::applicationFilePath(), path);
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && file.readAll() == content)
        return;
    file.close();
    QDir().mkpath(QFileInfo(path).path());
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size()) {
        qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << path << file.errorString();
        return;
    }
    file.close();
    ReloadBusConfig();
}

// Only a file of ours: one the user wrote for another previewer stays.
void PreviewerService::RemoveActivationFile()
{
    QFile file(ActivationFilePath());
    const QByteArray program = QFile::encodeName(QCoreApplication::applicationFilePath());
    if (!file.open(QIODevice::ReadOnly) || !file.readAll().contains(program))
        return;
    file.close();
    if (file.remove())
        ReloadBusConfig();
}

#include "previewerservice_linux.moc"

#include "platform/instancesocket.h"

#include <QDebug>
#include <QDir>

#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsPrivateFolder(const QString& path)
{
    struct stat st{};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

QString RuntimeFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && IsPrivateFolder(runtime))
        return runtime;
    // A shared temp folder: another user could squat the name, so use a folder of our own.
    const QString own = QDir::tempPath() + QStringLiteral("/vuel-%1").arg(::getuid());
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    if (IsPrivateFolder(own))
        return own;
    // Someone else holds that name: a folder only we can reach, though no later start finds us there.
    qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << own << "is not a private folder";
    QByteArray unique = QFile::encodeName(own + QStringLiteral("-XXXXXX"));
    return ::mkdtemp(unique.data()) ? QFile::decodeName(unique) : own + QStringLiteral("-unusable");
}

} // namespace

QString InstanceServerName(const QString& name)
{
    return RuntimeFolder() + QLatin1Char('/') + name;
}

#include "platform/instancesocket.h"

#include "platform/privatefolder.h"

#include <QDebug>
#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

QString InstanceServerName(const QString& name)
{
    // No private folder: a name no server can listen on, so no one else's server is reached.
    const QString folder = UserRuntimeFolder();
    return (folder.isEmpty() ? QStringLiteral("/nonexistent/vuel-unusable") : folder) + QLatin1Char('/') + name;
}

int TakeInstanceLock(const QString& serverName)
{
    const QByteArray path = QFile::encodeName(serverName + QStringLiteral(".lock"));
    // Not inherited: a viewer started from the instance must not keep it after the instance ends.
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return kInstanceLockUnavailable;
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
        return fd;
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK)
        return kInstanceLockHeld;
    qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << "no lock on" << path << error;
    return kInstanceLockUnavailable;
}

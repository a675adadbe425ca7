#include "platform/privatefolder.h"

#include <QDebug>
#include <QDir>

#include <cerrno>
#include <cstdlib>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// A real folder (never a link) of ours that no one else may enter.
bool IsPrivateFolder(const QString& path)
{
    struct stat st{};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           st.st_uid == ::getuid() && (st.st_mode & 077) == 0;
}

// The name itself when it is, or can be made, a private folder; otherwise a unique one beside it,
// which no one can have prepared.
QString PrivateOrUnique(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    if ((::mkdir(native.constData(), 0700) == 0 || errno == EEXIST) && IsPrivateFolder(path))
        return path;
    qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << path << "is not a private folder";
    QByteArray unique = native + "-XXXXXX";
    return ::mkdtemp(unique.data()) ? QFile::decodeName(unique) : QString();
}

} // namespace

QString UserRuntimeFolder()
{
    // Decided once for the environment it was asked in: where our name in the shared temp folder
    // was planted, every caller (socket, temporary folder) must get the same unique folder, not
    // a new one each. Asked on the GUI thread only.
    static QString askedRuntime, askedTemp, folder;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString temp = QDir::tempPath();
    if (!folder.isEmpty() && runtime == askedRuntime && temp == askedTemp && IsPrivateFolder(folder))
        return folder;
    askedRuntime = runtime;
    askedTemp = temp;
    folder = !runtime.isEmpty() && IsPrivateFolder(runtime)
                 ? runtime
                 : PrivateOrUnique(temp + QStringLiteral("/vuel-%1").arg(::getuid()));
    return folder;
}

QString PrivateFolder(const QString& name)
{
    const QString runtime = UserRuntimeFolder();
    return runtime.isEmpty() ? QString() : PrivateOrUnique(runtime + QLatin1Char('/') + name);
}

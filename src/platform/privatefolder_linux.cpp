#include "platform/privatefolder.h"

#include <QDebug>
#include <QDir>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A real folder (never a link) of ours that no one else may enter.
bool IsPrivateFolder(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & 077) == 0;
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

// Empties the folder open as `dir` (which it closes), entry by entry relative to it, so that no
// name can be swapped for a link between a look and a removal.
bool EmptyFolder(int dir, int depth)
{
    constexpr int kDeepest = 64;
    DIR* listing = ::fdopendir(dir);
    if (!listing) {
        ::close(dir);
        return false;
    }
    bool whole = true;
    while (const dirent* entry = ::readdir(listing)) {
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        struct stat st {};
        if (::fstatat(dir, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue; // gone meanwhile
        if (S_ISDIR(st.st_mode)) {
            const int sub = ::openat(dir, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (sub >= 0 && depth < kDeepest) {
                whole = EmptyFolder(sub, depth + 1) && whole;
            } else {
                if (sub >= 0)
                    ::close(sub);
                whole = false;
            }
            whole = ::unlinkat(dir, name, AT_REMOVEDIR) == 0 && whole;
        } else {
            whole = ::unlinkat(dir, name, 0) == 0 && whole;
        }
    }
    ::closedir(listing);
    return whole;
}

} // namespace

bool RemovePrivateFolder(const QString& path)
{
    // Without a trailing separator: "name/" would follow a link named "name".
    const QByteArray native = QFile::encodeName(QDir::cleanPath(path));
    const int dir = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st {};
    if (dir < 0 || ::fstat(dir, &st) != 0 || st.st_uid != ::getuid() || (st.st_mode & 077) != 0) {
        if (dir >= 0)
            ::close(dir);
        qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << path << "is not our private folder: left alone";
        return false;
    }
    return EmptyFolder(dir, 0) && ::rmdir(native.constData()) == 0;
}

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

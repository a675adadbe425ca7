#include "platform/fileuri.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QFile>
#include <QUrl>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray BaseName(const QByteArray& path) { return path.mid(path.lastIndexOf('/') + 1); }

bool LinksTo(const QByteArray& link, const QByteArray& target)
{
    QByteArray buffer(target.size() + 1, '\0');
    const ssize_t size = ::readlink(link.constData(), buffer.data(), static_cast<size_t>(buffer.size()));
    return size == target.size() && buffer.left(static_cast<int>(size)) == target;
}

} // namespace

QByteArray LocalFileBytes(const QString& uri, int maxLength)
{
    if (uri.size() > maxLength || !uri.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return {};
    const QUrl url(uri);
    const QString host = url.host();
    if (!url.isValid() || (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0))
        return {};
    // The encoded path keeps each escaped byte as it was sent, where a decoded one would be UTF-8.
    const QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    if (!path.startsWith('/') || path.contains('\0'))
        return {};
    return path;
}

QString FileUriOfBytes(const QByteArray& absolutePath)
{
    return QStringLiteral("file://") + QString::fromLatin1(absolutePath.toPercentEncoding("/"));
}

QString OpenablePath(const QByteArray& path, const QString& standInFolder)
{
    const QString decoded = QFile::decodeName(path);
    if (QFile::encodeName(decoded) == path)
        return decoded;
    if (standInFolder.isEmpty())
        return {};
    // One folder per original path, so that two names that decode alike stay apart.
    const QByteArray key = QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(16);
    const QByteArray folder = QFile::encodeName(standInFolder) + '/' + key;
    const QString name = QFile::decodeName(BaseName(path));
    const QByteArray link = folder + '/' + QFile::encodeName(name.isEmpty() ? QStringLiteral("file") : name);
    ::mkdir(QFile::encodeName(standInFolder).constData(), 0700);
    ::mkdir(folder.constData(), 0700);
    if (LinksTo(link, path))
        return QFile::decodeName(link);
    ::unlink(link.constData());
    if (::symlink(path.constData(), link.constData()) != 0) {
        qDebug() << __LINE__ << __FILE__ << Q_FUNC_INFO << "no link for" << decoded << errno;
        return {};
    }
    return QFile::decodeName(link);
}

QString OpenablePathOfArgument(const QString& arg, const QString& standInFolder)
{
    if (!arg.startsWith(QLatin1String("file:"), Qt::CaseInsensitive))
        return arg;
    const QByteArray path = LocalFileBytes(arg);
    return path.isEmpty() ? QString() : OpenablePath(path, standInFolder);
}

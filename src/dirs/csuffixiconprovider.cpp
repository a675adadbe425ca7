#include "dirs/csuffixiconprovider.h"

#include <QMimeDatabase>
#include <QMutexLocker>

namespace {

// Folders, links and files without a suffix keep a key of their own; "/" is in no file name.
QString LookKey(const QFileInfo& info)
{
    if (info.isSymLink())
        return QStringLiteral("/link");
    if (info.isDir())
        return QStringLiteral("/dir");
    if (!info.isFile())
        return QStringLiteral("/other");
    const QString suffix = info.suffix().toLower();
    return suffix.isEmpty() ? QStringLiteral("/none") : suffix;
}

} // namespace

QIcon CSuffixIconProvider::icon(const QFileInfo& info) const { return LookFor(info).icon; }

QString CSuffixIconProvider::type(const QFileInfo& info) const { return LookFor(info).type; }

CSuffixIconProvider::Look CSuffixIconProvider::LookFor(const QFileInfo& info) const
{
    const QString key = LookKey(info);
    QMutexLocker lock(&m_mutex);
    const auto found = m_looks.constFind(key);
    if (found != m_looks.constEnd())
        return found.value();
    Look look;
    if (key == QLatin1String("/none")) {
        // The desktop would read each such file's first bytes to tell its type.
        const QMimeType mime = QMimeDatabase().mimeTypeForName(QStringLiteral("application/octet-stream"));
        look = {QFileIconProvider::icon(QFileIconProvider::File), mime.comment()};
    } else {
        look = {QFileIconProvider::icon(info), QFileIconProvider::type(info)};
    }
    m_looks.insert(key, look);
    return look;
}

#include "Explorer/shortcut.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace {

constexpr qint64 kMaxEntryBytes = 64 * 1024; // a desktop entry is a few lines

} // namespace

QString DesktopLinkTarget(const QByteArray& entry)
{
    bool inEntry = false;
    bool isLink = false;
    QString url;
    for (const QByteArray& raw : entry.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry)
            continue;
        if (line == "Type=Link")
            isLink = true;
        else if (line.startsWith("URL="))
            url = QString::fromUtf8(line.mid(4));
    }
    const QUrl target(url);
    return isLink && target.isLocalFile() ? target.toLocalFile() : QString();
}

QString ResolveShortcut(const QString& path)
{
    const QFileInfo fi(path);
    if (fi.isSymLink())
        return fi.symLinkTarget();
    if (fi.suffix().toLower() != QLatin1String("desktop") || !fi.isFile() || fi.size() > kMaxEntryBytes)
        return path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return path;
    const QString target = DesktopLinkTarget(file.read(kMaxEntryBytes));
    return target.isEmpty() ? path : target;
}

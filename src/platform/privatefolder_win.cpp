#include "platform/privatefolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

// The temp location is the user's own here.
QString UserRuntimeFolder() { return QStandardPaths::writableLocation(QStandardPaths::TempLocation); }

QString PrivateFolder(const QString& name)
{
    const QString path = UserRuntimeFolder() + QLatin1Char('/') + name;
    return QDir().mkpath(path) ? path : QString();
}

bool RemovePrivateFolder(const QString& path)
{
    const QFileInfo folder(path);
    // A junction put in its place is not ours to empty; links inside are removed, not followed.
    return folder.isDir() && !folder.isSymLink() && QDir(path).removeRecursively();
}

#include "platform/privatefolder.h"

#include <QDir>
#include <QStandardPaths>

// The temp location is the user's own here.
QString UserRuntimeFolder() { return QStandardPaths::writableLocation(QStandardPaths::TempLocation); }

QString PrivateFolder(const QString& name)
{
    const QString path = UserRuntimeFolder() + QLatin1Char('/') + name;
    return QDir().mkpath(path) ? path : QString();
}

#include "platform/instancesocket.h"

#include "platform/privatefolder.h"

QString InstanceServerName(const QString& name)
{
    // No private folder: a name no server can listen on, so no one else's server is reached.
    const QString folder = UserRuntimeFolder();
    return (folder.isEmpty() ? QStringLiteral("/nonexistent/vuel-unusable") : folder) + QLatin1Char('/') + name;
}

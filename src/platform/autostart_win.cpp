#include "platform/autostart.h"

#include <QSettings>

namespace {

const char kRunKey[] = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

} // namespace

void Autostart::Enable(const QString& name, const QString& programPath)
{
    QSettings run(QLatin1String(kRunKey), QSettings::NativeFormat);
    run.setValue(name, QString(programPath).replace("/", "\\", Qt::CaseSensitive));
}

void Autostart::Disable(const QString& name)
{
    QSettings run(QLatin1String(kRunKey), QSettings::NativeFormat);
    run.remove(name);
}

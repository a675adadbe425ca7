#include "platform/helperprograms.h"

#include <QCoreApplication>

QString PluginFolder() { return QCoreApplication::applicationDirPath() + QStringLiteral("/plugins/"); }

// Helper programs carry no suffix on this platform.
QString HelperProgramPath(const QString& name) { return PluginFolder() + name; }

QString PluginTablePath() { return QCoreApplication::applicationDirPath() + QStringLiteral("/plugins.settings"); }

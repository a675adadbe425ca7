#include "platform/helperprograms.h"

#include <QCoreApplication>

QString PluginFolder() { return QCoreApplication::applicationDirPath() + QStringLiteral("/plugins/"); }

QString HelperProgramPath(const QString& name) { return PluginFolder() + name + QStringLiteral(".exe"); }

QString PluginTablePath() { return QCoreApplication::applicationDirPath() + QStringLiteral("/plugins.settings"); }

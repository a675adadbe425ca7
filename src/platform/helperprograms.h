#pragma once

#include <QString>

// Where the program finds what ships beside it: the helper programs in the plug-in folder and the
// plug-in table.
QString PluginFolder();                         // ends with a separator
QString HelperProgramPath(const QString& name); // `name` as it is on this platform
QString PluginTablePath();

#pragma once

#include <QString>

// The program's entry among the programs the desktop starts when the user logs on.
namespace Autostart {
// Adds or replaces the entry `name`, which starts `programPath` with no arguments.
void Enable(const QString& name, const QString& programPath);
// Takes the entry `name` out; nothing else is touched.
void Disable(const QString& name);
} // namespace Autostart

#pragma once

#include <QString>

// The settings file is rewritten whole on every save, and the toolkit drops what it cannot
// parse: lines of a damaged file, values of types a newer version wrote. Before that can
// happen, a byte-for-byte copy is kept beside the file ("<file>.unreadable", then "-2", ...).
// Returns the copy's path, or an empty string when the file round-trips unchanged.
QString KeepUnreadableSettings(const QString& file);

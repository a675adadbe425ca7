#pragma once

#include <QString>

// Where converted documents and plug-in output go, ending in a separator; a folder of this user
// alone, made on first use and removed when the program ends. Empty when none can be made.
QString TempFolder();

#pragma once

#include <QString>

// Where converted documents and plug-in output go; removed when the program ends.
QString TempFolder();

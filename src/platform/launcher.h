#pragma once

#include <QString>

// Opens a file with the program the desktop associates with it; false when none could.
bool OpenWithDefaultApp(const QString& path);

// Shows the item selected in the file manager (a folder is opened itself). Returns at once.
void RevealInFileManager(const QString& path);

#pragma once

class QApplication;

// Names, version, font and effects of the application; the settings store is keyed by them.
void ApplyApplicationMetadata(QApplication& app);

// Every Qt message appended as one line to "vuel.log" in the working folder.
void InstallLogFile();

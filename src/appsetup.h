#pragma once

class QApplication;
class QCoreApplication;
class QLocale;

// The program's translation for the locale and Qt's own, when there are any. True when the
// program's was found.
bool InstallTranslations(QCoreApplication& app, const QLocale& locale);

// Translations of the system locale, then names, version, font and effects of the application;
// the settings store is keyed by them.
void ApplyApplicationMetadata(QApplication& app);

// Every Qt message appended as one line to "vuel.log" in the working folder.
void InstallLogFile();

#pragma once

#include "cglobaldata/cglobaldata.h"

#include <QCoreApplication>
#include <QFile>
#include <QSettings>

#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

// Where the desktop looks for the program's log-on entry (the test's private config folder).
inline QString AutostartEntryPath()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME") + "/autostart/" + QCoreApplication::applicationName() + ".desktop";
}

// Every test starts from an empty store, no log-on entry and suffix tables built from that.
inline void ResetStore()
{
    QSettings().clear();
    QFile::remove(AutostartEntryPath());
    CGlobalData::Instance().RebuildSuffixTables();
}

#pragma once

#include "cglobaldata/cglobaldata.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QThread>

#include <functional>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

// Where the desktop looks for the program's log-on entry (the test's private config folder).
inline QString AutostartEntryPath()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME") + "/autostart/" + QCoreApplication::applicationName() +
           ".desktop";
}

// Every test starts from an empty store, no log-on entry and suffix tables built from that.
inline void ResetStore()
{
    QSettings().clear();
    QFile::remove(AutostartEntryPath());
    CGlobalData::Instance().RebuildSuffixTables();
}

// Turns the event loop until `done` holds; false if it never did (so a fault fails, never hangs).
inline bool ProcessEventsUntil(const std::function<bool()>& done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > 5000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}

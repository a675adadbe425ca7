#pragma once

#include <QString>

// A file or entry name as text for the user: bidirectional controls (which can make
// "\u202Etxt.exe" read "exe.txt") become U+FFFD, so the real suffix always shows.
QString DisplayName(const QString& name);

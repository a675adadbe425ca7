#pragma once

#include <QtGlobal>

// The top-level window that has the keyboard focus; 0 when the desktop cannot tell.
quint64 ForegroundWindow();

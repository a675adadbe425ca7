#pragma once

#include <QString>

// A notice on the desktop's own notification service, for a desktop whose panel has no tray
// to show a balloon (stock GNOME Shell). Does not wait for an answer.
void ShowDesktopNotice(const QString& title, const QString& text);

#include "platform/desktopnotice.h"

// Windows always has the notification area: the tray balloon is the notice.
void ShowDesktopNotice(const QString&, const QString&) {}

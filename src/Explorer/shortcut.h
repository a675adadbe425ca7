#pragma once

#include <QString>

// What a shortcut points at: the target of a symbolic link, or the file of a desktop
// link (a .desktop entry of Type=Link with a file URL). Anything else is itself.
QString ResolveShortcut(const QString& path);

// The file URL of a desktop link's text, or an empty string.
QString DesktopLinkTarget(const QByteArray& entry);

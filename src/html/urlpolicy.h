#pragma once

#include <QString>
#include <QUrl>

// What a markdown page may load: our own resources, inline raster pictures, and regular files
// whose real location lies inside `folder` (the document's folder). Everything else, the
// network above all, is refused.
bool IsPageUrlAllowed(const QUrl& url, const QString& folder);

// Which clicked links are handed to the desktop: web pages and mail only.
bool IsLinkHandedOut(const QUrl& url);

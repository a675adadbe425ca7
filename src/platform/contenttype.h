#pragma once

#include <QString>
#include <QStringList>

// Where a file's name says nothing, this platform may still tell its kind by its content.
bool KnowsContentTypes();

// The file's MIME type by name and content, then its ancestors, nearest first; empty where the
// platform leaves kinds to suffixes. Never call it on a FIFO or a device, nor on the window's thread:
// it reads the file, which on a file system that stopped answering never returns.
QStringList ContentTypeChain(const QString& path);

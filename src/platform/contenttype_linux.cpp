#include "platform/contenttype.h"

#include <QMimeDatabase>

bool KnowsContentTypes() { return true; }

QStringList ContentTypeChain(const QString& path)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
    return type.isValid() ? QStringList{type.name()} + type.allAncestors() : QStringList();
}

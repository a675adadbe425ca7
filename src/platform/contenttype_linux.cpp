#include "platform/contenttype.h"

#include <QFile>
#include <QMimeDatabase>

namespace {

constexpr qint64 kSniffedBytes = 16 * 1024; // as much as the MIME database's own sniff reads

} // namespace

bool KnowsContentTypes() { return true; }

// The head is read here rather than by the MIME database, which reads while it holds a lock every
// lookup of the process waits on, the window's by name included.
QStringList ContentTypeChain(const QString& path)
{
    QFile file(path);
    const QMimeDatabase db;
    const QMimeType type = file.open(QIODevice::ReadOnly)
                               ? db.mimeTypeForFileNameAndData(path, file.read(kSniffedBytes))
                               : db.mimeTypeForFile(path, QMimeDatabase::MatchExtension);
    return type.isValid() ? QStringList{type.name()} + type.allAncestors() : QStringList();
}

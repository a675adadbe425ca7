#include "platform/pathfacts.h"

#include "platform/fileinfo.h"

#include <QFileInfo>

namespace {

PathFacts::Kind KindOf(const QFileInfo& fi)
{
    if (!fi.exists())
        return PathFacts::Kind::Missing;
    if (fi.isDir())
        return PathFacts::Kind::Folder;
    return fi.isFile() ? PathFacts::Kind::File : PathFacts::Kind::Other;
}

} // namespace

PathFacts FactsOf(const QString& path)
{
    const QFileInfo fi(path);
    PathFacts facts;
    facts.path = fi.absoluteFilePath();
    facts.kind = KindOf(fi);
    facts.link = fi.isSymLink();
    if (facts.link)
        facts.linkTarget = fi.symLinkTarget();
    if (!facts.Exists())
        return facts;
    facts.size = fi.size();
    // Where the file system keeps no birth time, the last status change is the nearest fact.
    facts.created = fi.birthTime().isValid() ? fi.birthTime() : fi.metadataChangeTime();
    facts.modified = fi.lastModified();
    facts.read = fi.lastRead();
    facts.kernelFile = facts.IsFile() && IsKernelFile(facts.path);
    return facts;
}

PathFacts UnansweredFacts(const QString& path)
{
    PathFacts facts;
    facts.path = QFileInfo(path).absoluteFilePath(); // names only: no call to the file system
    facts.unanswered = true;
    return facts;
}

QString PreviewTarget(const QString& asked, const PathFacts& shown, bool knowsContentTypes)
{
    if (asked.isEmpty())
        return QString();
    if (shown.unanswered)
        return shown.path;
    if (!shown.Exists() || (QFileInfo(asked).suffix().isEmpty() && !shown.IsFolder() && !knowsContentTypes))
        return QString();
    return shown.path;
}

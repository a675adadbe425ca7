#include "html/urlpolicy.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

bool IsRasterDataUrl(const QUrl& url)
{
    // Scripts and SVG (which may pull in more) stay out; the converter lets the same kinds through.
    static const QRegularExpression kind(QStringLiteral("^image/(png|gif|jpeg|webp)[;,]"),
                                         QRegularExpression::CaseInsensitiveOption);
    return kind.match(url.path(QUrl::FullyEncoded)).hasMatch();
}

bool IsInsideFolder(const QUrl& url, const QString& folder)
{
    // file://host/... is a share of another machine.
    if (folder.isEmpty() || !(url.host().isEmpty() || url.host() == QLatin1String("localhost")))
        return false;
    const QString root = QFileInfo(folder).canonicalFilePath();
    // toLocalFile() keeps "localhost" as a share name.
    const QFileInfo target(url.adjusted(QUrl::RemoveAuthority).toLocalFile());
    // Canonical paths settle "..", and symbolic links by where they point.
    const QString path = target.canonicalFilePath();
    if (root.isEmpty() || path.isEmpty() || !QFileInfo(root).isDir() || !target.isFile())
        return false;
    const QString prefix = root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/');
    return path.startsWith(prefix);
}

} // namespace

bool IsPageUrlAllowed(const QUrl& url, const QString& folder)
{
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("qrc"))
        return true;
    if (scheme == QLatin1String("data"))
        return IsRasterDataUrl(url);
    if (scheme == QLatin1String("file"))
        return IsInsideFolder(url, folder);
    return false;
}

bool IsLinkHandedOut(const QUrl& url)
{
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("mailto"))
        return !url.path().isEmpty();
    // A web link without a host is no web page.
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty();
}

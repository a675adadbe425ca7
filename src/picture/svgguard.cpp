#include "picture/svgguard.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <zlib.h>

namespace {

bool IsImageHref(const QStringRef& element, const QXmlStreamAttribute& attribute)
{
    return element == QLatin1String("image") && attribute.name() == QLatin1String("href");
}

void CopyStartElement(const QXmlStreamReader& in, QXmlStreamWriter& out, const QString& folder)
{
    // Qualified names are copied as written: the SVG reader looks attributes up by them (xlink:href).
    out.writeStartElement(in.qualifiedName().toString());
    for (const QXmlStreamNamespaceDeclaration& ns : in.namespaceDeclarations()) {
        if (ns.prefix().isEmpty())
            out.writeDefaultNamespace(ns.namespaceUri().toString());
        else
            out.writeNamespace(ns.namespaceUri().toString(), ns.prefix().toString());
    }
    for (const QXmlStreamAttribute& attribute : in.attributes()) {
        QString value = attribute.value().toString();
        if (IsImageHref(in.name(), attribute) && (value = AllowedSvgImage(value, folder)).isEmpty())
            continue;
        out.writeAttribute(attribute.qualifiedName().toString(), value);
    }
}

} // namespace

QString AllowedSvgImage(const QString& href, const QString& folder)
{
    const QString trimmed = href.trimmed();
    if (trimmed.startsWith(QLatin1String("data:"), Qt::CaseInsensitive))
        return href;
    const QUrl url(trimmed);
    QString path = trimmed;
    if (url.scheme() == QLatin1String("file"))
        path = url.toLocalFile();
    else if (url.scheme().size() > 1) // one letter is a drive, not a scheme
        return QString();
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    const QFileInfo target(QFileInfo(QDir(folder).absoluteFilePath(path)).canonicalFilePath());
    if (canonicalFolder.isEmpty() || !target.isFile() ||
        !target.filePath().startsWith(QDir(canonicalFolder).filePath(QString())))
        return QString();
    return target.filePath();
}

QByteArray SvgWithLocalImagesOnly(const QByteArray& svg, const QString& folder)
{
    QXmlStreamReader in(svg);
    QByteArray clean;
    QXmlStreamWriter out(&clean);
    while (!in.atEnd()) {
        switch (in.readNext()) {
        case QXmlStreamReader::StartDocument:
            out.writeStartDocument();
            break;
        case QXmlStreamReader::StartElement:
            CopyStartElement(in, out, folder);
            break;
        case QXmlStreamReader::EndElement:
            out.writeEndElement();
            break;
        case QXmlStreamReader::Characters:
            if (in.isCDATA())
                out.writeCDATA(in.text().toString());
            else
                out.writeCharacters(in.text().toString());
            break;
        default: // comments, processing instructions, the DTD, unresolved entities
            break;
        }
    }
    if (in.hasError())
        return QByteArray();
    out.writeEndDocument();
    return clean;
}

QByteArray GunzipBounded(const QByteArray& bytes, qint64 limit)
{
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        return QByteArray();
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
    stream.avail_in = uInt(bytes.size());
    QByteArray out;
    char chunk[64 * 1024];
    int rc = Z_OK;
    while (rc == Z_OK && out.size() <= limit) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        rc = inflate(&stream, Z_NO_FLUSH);
        out.append(chunk, int(sizeof chunk - stream.avail_out));
        if (rc == Z_BUF_ERROR && stream.avail_in == 0)
            break;
    }
    inflateEnd(&stream);
    return rc == Z_STREAM_END && out.size() <= limit ? out : QByteArray();
}

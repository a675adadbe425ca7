#include "code/codeformat.h"

#include <QCoreApplication>
#include <QDomDocument>
#include <QJsonDocument>
#include <QJsonParseError>
#include <QTextCodec>
#include <QTextStream>

namespace codeformat {

Result FormatJson(const QByteArray& utf8)
{
    Result r;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(utf8, &error);
    if (doc.isNull()) {
        r.reason = error.errorString();
        r.offset = error.offset;
        return r;
    }
    r.ok = true;
    r.text = QString::fromUtf8(doc.toJson(QJsonDocument::Indented));
    return r;
}

Result FormatXml(const QByteArray& utf8)
{
    Result r;
    QDomDocument doc;
    if (!doc.setContent(utf8, &r.reason, &r.line, &r.column))
        return r;
    QByteArray out;
    QTextStream stream(&out, QIODevice::ReadWrite);
    doc.save(stream, 4, QDomNode::EncodingFromDocument);
    stream.flush();
    r.ok = true;
    r.reason.clear();
    r.line = r.column = -1;
    // Saved in the encoding the declaration names; read back in the same one.
    r.text = stream.codec()->toUnicode(out);
    return r;
}

QString ErrorText(const QString& reason, int line, int column)
{
    return QCoreApplication::translate("CCodeWnd", "Format failed.\n\nReason: %1\nLine: %2\tColumn: %3")
        .arg(reason)
        .arg(line)
        .arg(column);
}

} // namespace codeformat

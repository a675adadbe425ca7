#include "code/codeformat.h"

#include "code/jsonformatter.h"
#include "code/xmlformatter.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextCodec>

#include <memory>

namespace codeformat {

Result FormatJson(const QString& text, const std::atomic_bool* cancel, const Limits& limits)
{
    return JsonFormatter(text, cancel, limits).Run();
}

Result FormatXml(const QString& text, const std::atomic_bool* cancel, const Limits& limits)
{
    return XmlFormatter(text, cancel, limits).Run();
}

Result FormatFile(const QString& path, QTextCodec* codec, Kind kind, const std::atomic_bool* cancel)
{
    Result failed;
    failed.line = failed.column = 1;
    failed.utf8Offset = 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        failed.reason = file.errorString();
        return failed;
    }
    if (file.size() > kMaxInputBytes) {
        failed.reason =
            QCoreApplication::translate("CCodeWnd", "the file is larger than %1 MB").arg(kMaxInputBytes >> 20);
        return failed;
    }
    std::unique_ptr<QTextDecoder> decoder(codec->makeDecoder());
    const QString text = decoder->toUnicode(file.read(kMaxInputBytes));
    return kind == Kind::Json ? FormatJson(text, cancel) : FormatXml(text, cancel);
}

Position PositionOf(const QString& text, int index)
{
    Position at;
    const int end = qBound(0, index, text.size());
    int lineStart = 0;
    for (int i = 0; i < end; ++i) {
        const ushort c = text.at(i).unicode();
        if (c == '\n') {
            ++at.line;
            lineStart = i + 1;
        }
        // As the editor counts UTF-8: a surrogate pair makes four bytes.
        at.utf8Offset += c < 0x80 ? 1 : c < 0x800 ? 2 : QChar::isSurrogate(c) ? 2 : 3;
    }
    at.column = end - lineStart + 1;
    return at;
}

QString ErrorText(const QString& reason, int line, int column)
{
    return QCoreApplication::translate("CCodeWnd", "Format failed.\n\nReason: %1\nLine: %2\tColumn: %3")
        .arg(reason)
        .arg(line)
        .arg(column);
}

} // namespace codeformat

#pragma once

#include <QByteArray>
#include <QString>

// The "Format Code" copy of a JSON or XML document, with no editor, so that it is tested and
// fuzzed directly.
namespace codeformat {

struct Result {
    bool ok = false;
    QString text;   // the pretty-printed document when ok
    QString reason; // the parser's message otherwise
    // XML: the parser's line and column. JSON: -1, and `offset` holds the parser's byte offset
    // into the text, which the editor turns into its own line and index.
    int line = -1;
    int column = -1;
    int offset = -1;
};

Result FormatJson(const QByteArray& utf8);
Result FormatXml(const QByteArray& utf8);

// The formatted view's text for a failure, the numbers as the parser or the editor gave them.
QString ErrorText(const QString& reason, int line, int column);

} // namespace codeformat

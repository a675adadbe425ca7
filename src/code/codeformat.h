#pragma once

#include <QString>

#include <atomic>

class QTextCodec;

// The "Format Code" copy of a JSON or XML document, with no editor, so that it is tested and
// fuzzed directly. Both formatters stream through the text once, without recursion, and copy
// every token as written: nothing is parsed into values, no entity is expanded.
namespace codeformat {

enum class Kind { Json, Xml };

struct Limits {
    int maxDepth = 10000;
    // Characters of output; 0: 16 times the input, at least 1 Mi and at most 64 Mi.
    qint64 maxOutput = 0;
};

// Files larger than this are not read for formatting.
constexpr qint64 kMaxInputBytes = 64 << 20;

struct Result {
    bool ok = false;
    QString text;   // the pretty-printed document when ok
    QString reason; // why it stopped otherwise
    // Where it stopped: line and column from 1 (in characters), and the UTF-8 byte offset.
    int line = -1;
    int column = -1;
    qint64 utf8Offset = -1;
};

struct Position {
    int line = 1;
    int column = 1;
    qint64 utf8Offset = 0;
};

// `cancel`, when given, is polled as the text is read: once set, the result is a failure.
Result FormatJson(const QString& text, const std::atomic_bool* cancel = nullptr, const Limits& limits = {});
Result FormatXml(const QString& text, const std::atomic_bool* cancel = nullptr, const Limits& limits = {});
// The whole file at `path` decoded by `codec`, then formatted: the work the viewer hands a thread.
Result FormatFile(const QString& path, QTextCodec* codec, Kind kind, const std::atomic_bool* cancel);

// Line, column and UTF-8 offset of a UTF-16 index into the text.
Position PositionOf(const QString& text, int index);

// The formatted view's text for a failure.
QString ErrorText(const QString& reason, int line, int column);

} // namespace codeformat

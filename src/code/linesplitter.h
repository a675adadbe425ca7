#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// Breaks lines longer than a limit as the text streams in. The editor lays out a whole line
// for every paint, so a line of a megabyte (minified JSON, a one-line dump) would stall the
// window; broken at the limit it shows like character wrapping. Remembers where it broke, so
// positions in the original text can be found in the shown one.
class LineSplitter
{
public:
    explicit LineSplitter(int limit = 4096) : m_limit(limit) {}

    QString Feed(const QString& text);
    // A byte offset into the original text's UTF-8 becomes one into the shown text's UTF-8.
    qint64 ShownPosition(qint64 originalUtf8Offset) const;

private:
    int m_limit;
    int m_lineLength = 0;       // characters since the last line end
    qint64 m_originalBytes = 0; // UTF-8 bytes of the original text fed so far
    QVector<qint64> m_breaks;   // original UTF-8 offsets before which a line end was added
};

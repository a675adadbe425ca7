#pragma once

#include <QByteArray>
#include <QVector>

// Where the text viewer broke the file's overlong lines for showing. The editor lays out a
// whole line for every paint, so a line of megabytes would stall the window; broken, it shows
// like wrapping. This map leads back to the file: its line numbers, offsets and bytes.
class ShownLines
{
public:
    void Append(const ShownLines& more);
    void AddBreak(qint64 originalUtf8Offset, int shownLine);
    bool IsEmpty() const { return m_offsets.isEmpty(); }

    // A byte offset into the file's UTF-8 becomes one into the shown UTF-8.
    qint64 ShownPosition(qint64 originalUtf8Offset) const;
    // The file's line (from 0) a shown line starts, or -1 when it continues a broken one.
    int FileLine(int shownLine) const;
    // Shown UTF-8 that starts at `shownStart`, without the line ends added for showing.
    QByteArray OriginalBytes(const QByteArray& shown, qint64 shownStart) const;

private:
    QVector<qint64> m_offsets; // file offsets before which a line end was added
    QVector<int> m_lines;      // the shown line each added line end starts
};

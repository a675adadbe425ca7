#pragma once

#include "code/shownlines.h"

#include <QString>

// Breaks lines longer than a limit as the text streams in, and counts the file's lines. What it
// broke is collected for the viewer, which maps its shown text back to the file's.
class LineSplitter
{
public:
    // Characters shown in a row at most: the editor lays out every row it paints whole, and a
    // screen of rows of 4096 took hundreds of milliseconds under load; 512 is still several
    // screens wide, at half the first screen's layout of 1024.
    static constexpr int kShownLineLimit = 512;
    // Characters shown in a row that has no letter yet: Qt looks for a row's direction from its start
    // at every position it measures, so a long run of punctuation costs its length squared.
    static constexpr int kNeutralRowLimit = 128;

    explicit LineSplitter(int limit = kShownLineLimit, int neutralLimit = kNeutralRowLimit)
        : m_limit(limit), m_neutralLimit(qMin(limit, neutralLimit))
    {
    }

    QString Feed(const QString& text);
    // The breaks made since the last call.
    ShownLines TakeBreaks();
    // Lines as an editor counts them: CR, LF and CRLF end one, and the last one counts too.
    qint64 FileLines() const { return m_fileLines + 1; }

private:
    int m_limit;
    int m_neutralLimit;
    int m_lineLength = 0;       // characters since the last line end
    bool m_rowHasLetter = false; // a character of a strong direction since the last line end
    qint64 m_originalBytes = 0; // UTF-8 bytes of the original text fed so far
    qint64 m_fileLines = 0;     // line ends seen
    int m_shownLines = 0;       // line ends shown, added ones included
    bool m_lastWasCR = false;
    ShownLines m_breaks;
};

#include "html/htmlchunks.h"

namespace {

bool IsVoidElement(const QStringRef& name)
{
    static const QStringList voids{"area", "br", "col", "hr", "img", "input", "wbr"};
    return voids.contains(name.toString().toLower());
}

// How the depth of open elements changes by the tag that starts at `open` and ends at `close`.
int DepthChange(const QString& body, int open, int close)
{
    if (open + 1 >= close)
        return 0;
    const QChar first = body.at(open + 1);
    if (first == QLatin1Char('/'))
        return -1;
    if (!first.isLetter() || body.at(close - 1) == QLatin1Char('/'))
        return 0; // comments, declarations, self-closed elements
    int nameEnd = open + 1;
    while (nameEnd < close && (body.at(nameEnd).isLetterOrNumber()))
        ++nameEnd;
    return IsVoidElement(body.midRef(open + 1, nameEnd - open - 1)) ? 0 : 1;
}

} // namespace

QStringList SplitTopLevelBlocks(const QString& body, int minChars)
{
    QStringList pieces;
    int depth = 0;
    int pieceStart = 0;
    for (int open = body.indexOf(QLatin1Char('<')); open >= 0; open = body.indexOf(QLatin1Char('<'), open + 1)) {
        const int close = body.indexOf(QLatin1Char('>'), open);
        if (close < 0)
            break;
        depth = qMax(0, depth + DepthChange(body, open, close));
        open = close;
        if (depth == 0 && close + 1 - pieceStart >= minChars) {
            pieces << body.mid(pieceStart, close + 1 - pieceStart);
            pieceStart = close + 1;
        }
    }
    const QString rest = body.mid(pieceStart);
    if (pieces.isEmpty() || !rest.trimmed().isEmpty())
        pieces << rest;
    else
        pieces.last() += rest;
    return pieces;
}

int PiecesWithin(const QStringList& pieces, int maxPieceChars, qint64 maxTotalChars)
{
    qint64 total = 0;
    for (int i = 0; i < pieces.size(); ++i) {
        total += pieces.at(i).size();
        if (pieces.at(i).size() > maxPieceChars || total > maxTotalChars)
            return i;
    }
    return pieces.size();
}

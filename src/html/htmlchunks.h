#pragma once

#include <QString>
#include <QStringList>

// Cuts a converted page body into pieces of whole top-level blocks, each at least `minChars`
// long (the last may be shorter), so a long document can show its first screen at once and
// take the rest piece by piece. The body must have every "<" escaped outside its tags, as the
// converter writes it; a body that never returns to the top level stays one piece.
QStringList SplitTopLevelBlocks(const QString& body, int minChars);

// How many of `pieces`, from the first, the page takes: up to the first longer than
// `maxPieceChars`, or the one that brings the total past `maxTotalChars`. The web engine lays a
// piece out in one go on the window's thread, so a page beyond either is shown cut.
int PiecesWithin(const QStringList& pieces, int maxPieceChars, qint64 maxTotalChars);

#pragma once

#include <QByteArray>

class QTextCodec;

// The codec to read the start of a text file with: a byte-order mark decides; text that is
// UTF-8 throughout (a sequence cut at the end of the piece too) is UTF-8; anything else is what
// uchardet guesses from the bytes (Latin-1, GBK, Shift-JIS, …), else `fallback`.
QTextCodec* CodecForText(const QByteArray& piece, QTextCodec* fallback);

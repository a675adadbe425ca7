#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>

class QTextCodec;

// A lister's output in the system's code page, line by line. Where that is UTF-8 (Linux) but
// a line is not, the archive stored its names in the code page of the Windows that made it,
// which for a Chinese user is GBK: such lines are read as GB18030 in a Chinese locale.
QString DecodeListerOutput(const QByteArray& bytes, QTextCodec* system, const QLocale& locale);

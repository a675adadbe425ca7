#include "dirs/listerdecode.h"

#include <QTextCodec>

namespace {

bool DecodesCleanly(QTextCodec* codec, const QByteArray& line, QString& text)
{
    QTextCodec::ConverterState state;
    text = codec->toUnicode(line.constData(), line.size(), &state);
    return state.invalidChars == 0 && state.remainingChars == 0;
}

} // namespace

QString DecodeListerOutput(const QByteArray& bytes, QTextCodec* system, const QLocale& locale)
{
    QTextCodec* windowsChinese = QTextCodec::codecForName("GB18030");
    const bool fallBack =
        system->mibEnum() == 106 /* UTF-8 */ && locale.language() == QLocale::Chinese && windowsChinese;
    if (!fallBack)
        return system->toUnicode(bytes);
    QString out;
    out.reserve(bytes.size());
    for (const QByteArray& line : bytes.split('\n')) {
        QString text;
        if (!DecodesCleanly(system, line, text))
            text = windowsChinese->toUnicode(line);
        out += text;
        out += QLatin1Char('\n');
    }
    out.chop(1);
    return out;
}

#include "code/encodingguess.h"

#include <QTextCodec>

#include <memory>
#include <type_traits>

#include <uchardet.h>

namespace {

bool IsUtf8(const QByteArray& bytes)
{
    QTextCodec::ConverterState state;
    QTextCodec::codecForName("UTF-8")->toUnicode(bytes.constData(), bytes.size(), &state);
    return state.invalidChars == 0;
}

QTextCodec* GuessedCodec(const QByteArray& bytes)
{
    const std::unique_ptr<std::remove_pointer_t<uchardet_t>, decltype(&uchardet_delete)> detector(uchardet_new(),
                                                                                                  uchardet_delete);
    if (!detector || uchardet_handle_data(detector.get(), bytes.constData(), size_t(bytes.size())) != 0)
        return nullptr;
    uchardet_data_end(detector.get());
    const QByteArray name = uchardet_get_charset(detector.get());
    return name.isEmpty() ? nullptr : QTextCodec::codecForName(name);
}

} // namespace

QTextCodec* CodecForText(const QByteArray& piece, QTextCodec* fallback)
{
    if (QTextCodec* byMark = QTextCodec::codecForUtfText(piece, nullptr))
        return byMark;
    if (IsUtf8(piece))
        return QTextCodec::codecForName("UTF-8");
    QTextCodec* guessed = GuessedCodec(piece);
    return guessed ? guessed : fallback;
}

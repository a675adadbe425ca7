#include "platform/displayname.h"

namespace {

bool IsBidiControl(char16_t c)
{
    return (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069) || c == 0x200E || c == 0x200F || c == 0x061C;
}

} // namespace

QString DisplayName(const QString& name)
{
    QString shown = name;
    for (QChar& c : shown)
        if (IsBidiControl(c.unicode()))
            c = QChar::ReplacementCharacter;
    return shown;
}

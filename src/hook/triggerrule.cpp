#include "hook/triggerrule.h"

KeyEventInfo WithPressModifiers(KeyEventInfo release, const KeyEventInfo& press)
{
    release.super = release.super || press.super;
    release.alt = release.alt || press.alt;
    release.ctrl = release.ctrl || press.ctrl;
    release.shift = release.shift || press.shift;
    return release;
}

bool IsTriggerKey(const KeyEventInfo& key, const TriggerModifiers& wanted)
{
    if (!key.release || !key.isSpace || key.super)
        return false;
    return key.alt == wanted.alt && key.shift == wanted.shift && key.ctrl == wanted.ctrl;
}

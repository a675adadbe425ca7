#pragma once

#include "platform/keyhook.h"

// The modifiers the user wants held with Space (settings key_alt, key_shift, key_ctrl).
struct TriggerModifiers {
    bool alt = false;
    bool shift = false;
    bool ctrl = false;
};

// The release of a key with the modifiers held at its press added: people often let go of
// Ctrl a moment before Space, and Ctrl+Space must not count as a plain Space then.
KeyEventInfo WithPressModifiers(KeyEventInfo release, const KeyEventInfo& press);

// True for the release of Space without Super and with exactly the wanted modifiers held.
bool IsTriggerKey(const KeyEventInfo& key, const TriggerModifiers& wanted);

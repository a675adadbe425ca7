#include "hook/triggerrule.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* name;
    KeyEventInfo key;
    TriggerModifiers wanted;
    bool trigger;
};

KeyEventInfo SpaceRelease()
{
    KeyEventInfo key;
    key.release = true;
    key.isSpace = true;
    return key;
}

KeyEventInfo With(KeyEventInfo key, bool KeyEventInfo::*field, bool value)
{
    key.*field = value;
    return key;
}

TriggerModifiers Wanted(bool alt, bool shift, bool ctrl)
{
    TriggerModifiers wanted;
    wanted.alt = alt;
    wanted.shift = shift;
    wanted.ctrl = ctrl;
    return wanted;
}

} // namespace

// Ctrl and Super, held or wanted, are pressed for real in hook_test.sh. The modifiers held when
// Space went down count, as well as those held when it comes up.
TEST(TriggerRule, Table)
{
    const KeyEventInfo space = SpaceRelease();
    const TriggerModifiers none = Wanted(false, false, false);
    KeyEventInfo press;
    press.isSpace = true;
    const KeyEventInfo ctrlPress = With(press, &KeyEventInfo::ctrl, true);
    const Case cases[] = {
        {"space release, none wanted", space, none, true},
        {"space press", With(space, &KeyEventInfo::release, false), none, false},
        {"alt wanted and held", With(space, &KeyEventInfo::alt, true), Wanted(true, false, false), true},
        {"alt wanted, not held", space, Wanted(true, false, false), false},
        {"alt held, not wanted", With(space, &KeyEventInfo::alt, true), none, false},
        {"shift wanted and held", With(space, &KeyEventInfo::shift, true), Wanted(false, true, false), true},
        {"shift wanted, not held", space, Wanted(false, true, false), false},
        {"shift held, not wanted", With(space, &KeyEventInfo::shift, true), none, false},
        {"super with the wanted ctrl", With(With(space, &KeyEventInfo::ctrl, true), &KeyEventInfo::super, true),
         Wanted(false, false, true), false},
        {"another key", With(space, &KeyEventInfo::isSpace, false), none, false},
        {"nothing held at the press", WithPressModifiers(space, press), none, true},
        {"Ctrl let go before Space, not wanted", WithPressModifiers(space, ctrlPress), none, false},
        {"Ctrl let go before Space, wanted", WithPressModifiers(space, ctrlPress), Wanted(false, false, true), true},
        {"Ctrl pressed while Space was down", WithPressModifiers(With(space, &KeyEventInfo::ctrl, true), press),
         Wanted(false, false, true), true},
        {"Super let go before Space", WithPressModifiers(space, With(press, &KeyEventInfo::super, true)), none, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsTriggerKey(c.key, c.wanted), c.trigger) << c.name;
}

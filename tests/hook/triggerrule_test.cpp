#include "hook/triggerrule.h"

#include <gtest/gtest.h>

namespace {

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

} // namespace

// Ctrl and Super, held or wanted, are pressed for real in hook_test.sh. The modifiers held when
// Space went down count, as well as those held when it comes up.
TEST(TriggerRule, Table)
{
    const KeyEventInfo space = SpaceRelease();
    const TriggerModifiers none, alt{true, false, false}, shift{false, true, false}, ctrl{false, false, true};
    KeyEventInfo press;
    press.isSpace = true;
    const KeyEventInfo ctrlPress = With(press, &KeyEventInfo::ctrl, true);
    const struct {
        const char* name;
        KeyEventInfo key;
        TriggerModifiers wanted;
        bool trigger;
    } cases[] = {
        {"space release, none wanted", space, none, true},
        {"space press", With(space, &KeyEventInfo::release, false), none, false},
        {"alt wanted and held", With(space, &KeyEventInfo::alt, true), alt, true},
        {"alt wanted, not held", space, alt, false},
        {"alt held, not wanted", With(space, &KeyEventInfo::alt, true), none, false},
        {"shift wanted and held", With(space, &KeyEventInfo::shift, true), shift, true},
        {"shift wanted, not held", space, shift, false},
        {"shift held, not wanted", With(space, &KeyEventInfo::shift, true), none, false},
        {"super with the wanted ctrl", With(With(space, &KeyEventInfo::ctrl, true), &KeyEventInfo::super, true), ctrl,
         false},
        {"another key", With(space, &KeyEventInfo::isSpace, false), none, false},
        {"nothing held at the press", WithPressModifiers(space, press), none, true},
        {"Ctrl let go before Space, not wanted", WithPressModifiers(space, ctrlPress), none, false},
        {"Ctrl let go before Space, wanted", WithPressModifiers(space, ctrlPress), ctrl, true},
        {"Ctrl pressed while Space was down", WithPressModifiers(With(space, &KeyEventInfo::ctrl, true), press), ctrl,
         true},
        {"Super let go before Space", WithPressModifiers(space, With(press, &KeyEventInfo::super, true)), none, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsTriggerKey(c.key, c.wanted), c.trigger) << c.name;
}

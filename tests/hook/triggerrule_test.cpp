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

// Ctrl and Super, held or wanted, are pressed for real in hook_test.sh.
TEST(TriggerRule, Table)
{
    const KeyEventInfo space = SpaceRelease();
    const TriggerModifiers none = Wanted(false, false, false);
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
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsTriggerKey(c.key, c.wanted), c.trigger) << c.name;
}

TEST(TriggerRule, ModifiersHeldAtThePressCount)
{
    KeyEventInfo press;
    press.isSpace = true;
    const KeyEventInfo release = SpaceRelease();
    const TriggerModifiers none = Wanted(false, false, false);
    const TriggerModifiers ctrl = Wanted(false, false, true);
    const KeyEventInfo ctrlPress = With(press, &KeyEventInfo::ctrl, true);
    const KeyEventInfo superPress = With(press, &KeyEventInfo::super, true);
    const KeyEventInfo ctrlRelease = With(release, &KeyEventInfo::ctrl, true);

    EXPECT_TRUE(IsTriggerKey(WithPressModifiers(release, press), none));
    EXPECT_FALSE(IsTriggerKey(WithPressModifiers(release, ctrlPress), none)) << "Ctrl let go before Space";
    EXPECT_TRUE(IsTriggerKey(WithPressModifiers(release, ctrlPress), ctrl)) << "Ctrl let go before Space";
    EXPECT_TRUE(IsTriggerKey(WithPressModifiers(ctrlRelease, press), ctrl)) << "Ctrl pressed while Space was down";
    EXPECT_FALSE(IsTriggerKey(WithPressModifiers(release, superPress), none)) << "Super let go before Space";
    EXPECT_TRUE(WithPressModifiers(release, ctrlPress).release);
}

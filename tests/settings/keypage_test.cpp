#include "settings/csettingswnd4key.h"

#include "core/settings.h"
#include "settingsstore.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

#include <gtest/gtest.h>
#include <vector>

namespace {

const char* const kShift = "checkBox_trigger_s";
const char* const kAlt = "checkBox_trigger_a";
const char* const kCtrl = "checkBox_trigger_c";

} // namespace

// The title names the boxes ticked now, always as Ctrl, Shift, Alt; the Close row the stored trigger.
TEST(KeyPage, TitleAndCloseRowFollowTheStoreAndTheClicks)
{
    const struct {
        bool closeByTrigger, ctrl, shift, alt; // as stored
        std::vector<const char*> clicks;
        const char *close, *title;
    } cases[] = {
        {false, false, false, false, {}, "Esc / Ctrl+W", "Space"},
        {true, false, false, false, {}, "Esc / Ctrl+W / Space", "Space"},
        {true, true, false, false, {}, "Esc / Ctrl+W / Ctrl+Space", "Ctrl + Space"},
        {true, true, true, true, {}, "Esc / Ctrl+W / Ctrl+Shift+Alt+Space", "Ctrl + Shift + Alt + Space"},
        {true, false, true, false, {kAlt}, "Esc / Ctrl+W / Shift+Space", "Shift + Alt + Space"},
        {false, false, false, false, {kAlt, kCtrl}, "Esc / Ctrl+W", "Ctrl + Alt + Space"},
        {false, false, false, false, {kAlt, kShift, kCtrl}, "Esc / Ctrl+W", "Ctrl + Shift + Alt + Space"},
        {false, false, true, true, {kShift}, "Esc / Ctrl+W", "Alt + Space"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        ResetStore();
        SetSettingValue(SettingKey::UseTriggerKeyClose, c.closeByTrigger);
        SetSettingValue(SettingKey::KeyCtrl, c.ctrl);
        SetSettingValue(SettingKey::KeyShift, c.shift);
        SetSettingValue(SettingKey::KeyAlt, c.alt);
        CSettingsWnd4Key page;
        for (const char* box : c.clicks)
            page.findChild<QCheckBox*>(box)->click();
        EXPECT_EQ(page.findChild<QLabel*>("label_close")->text(), c.close);
        EXPECT_EQ(page.findChild<QGroupBox*>("groupBox_key")->title(), QString("Trigger Keys:  ") + c.title);
    }
}

TEST(KeyPage, WrittenKeysAreReadBackByAFreshPage)
{
    for (const char* ticked : {kShift, kAlt, kCtrl}) {
        SCOPED_TRACE(ticked);
        ResetStore();
        {
            CSettingsWnd4Key page;
            page.findChild<QCheckBox*>(ticked)->setChecked(true);
            page.WriteSettings();
        }
        EXPECT_EQ(GetSettingValue(SettingKey::KeyShift).toBool(), ticked == kShift);
        EXPECT_EQ(GetSettingValue(SettingKey::KeyAlt).toBool(), ticked == kAlt);
        EXPECT_EQ(GetSettingValue(SettingKey::KeyCtrl).toBool(), ticked == kCtrl);
        CSettingsWnd4Key fresh;
        for (const char* box : {kShift, kAlt, kCtrl})
            EXPECT_EQ(fresh.findChild<QCheckBox*>(box)->isChecked(), box == ticked) << box;
        EXPECT_EQ(QSettings().allKeys().size(), 3); // nothing but the three modifiers
    }
}

#include "settings/csettingswnd4key.h"

#include "core/settings.h"
#include "settingsstore.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

#include <gtest/gtest.h>
#include <vector>

// The title names the boxes ticked now, always as Ctrl, Shift, Alt; the Close row the stored trigger.
TEST(KeyPage, TitleAndCloseRowFollowTheStoreAndTheClicks)
{
    const char* const kShift = "checkBox_trigger_s";
    const char* const kAlt = "checkBox_trigger_a";
    const char* const kCtrl = "checkBox_trigger_c";
    const struct {
        bool closeByTrigger, ctrl, shift, alt; // as stored
        std::vector<const char*> clicks;
        const char *close, *title;
    } cases[] = {
        {false, false, false, false, {}, "Esc / Ctrl+W", "Space"},
        {true, true, true, true, {}, "Esc / Ctrl+W / Ctrl+Shift+Alt+Space", "Ctrl + Shift + Alt + Space"},
        {true, false, true, false, {kAlt}, "Esc / Ctrl+W / Shift+Space", "Shift + Alt + Space"},
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

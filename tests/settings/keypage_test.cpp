#include "settings/csettingswnd4key.h"

#include "core/settings.h"
#include "settingsstore.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class KeyPage : public ::testing::Test
{
protected:
    void SetUp() override { ResetStore(); }
    void TearDown() override { ResetStore(); }
};

QCheckBox* Box(QWidget& page, const char* name)
{
    auto* box = page.findChild<QCheckBox*>(name);
    EXPECT_NE(box, nullptr) << name;
    return box;
}

QString Title(QWidget& page) { return page.findChild<QGroupBox*>("groupBox_key")->title(); }
QString CloseKeys(QWidget& page) { return page.findChild<QLabel*>("label_close")->text(); }

} // namespace

TEST_F(KeyPage, DefaultsShowNoModifierAndSpaceClosing)
{
    CSettingsWnd4Key page;
    for (const char* box : {"checkBox_trigger_s", "checkBox_trigger_a", "checkBox_trigger_c"})
        EXPECT_FALSE(Box(page, box)->isChecked()) << box;
    EXPECT_EQ(Title(page), "Trigger Keys:  Space");
    EXPECT_EQ(CloseKeys(page), "Esc / Ctrl+W / Space");
    EXPECT_EQ(Box(page, "checkBox_trigger_s")->text(), "Shift");
    EXPECT_EQ(Box(page, "checkBox_trigger_a")->text(), "Alt");
    EXPECT_EQ(Box(page, "checkBox_trigger_c")->text(), "Control");
}

TEST_F(KeyPage, StoredKeysShapeTheCloseRowAndTitle)
{
    const struct {
        bool closeByTrigger, ctrl, shift, alt;
        const char* closeKeys;
        const char* title;
    } cases[] = {
        {false, false, false, false, "Esc / Ctrl+W", "Trigger Keys:  Space"},
        {false, true, true, true, "Esc / Ctrl+W", "Trigger Keys:  Ctrl + Shift + Alt + Space"},
        {true, true, false, false, "Esc / Ctrl+W / Ctrl+Space", "Trigger Keys:  Ctrl + Space"},
        {true, false, true, false, "Esc / Ctrl+W / Shift+Space", "Trigger Keys:  Shift + Space"},
        {true, false, false, true, "Esc / Ctrl+W / Alt+Space", "Trigger Keys:  Alt + Space"},
        {true, true, true, true, "Esc / Ctrl+W / Ctrl+Shift+Alt+Space", "Trigger Keys:  Ctrl + Shift + Alt + Space"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.closeKeys);
        ResetStore();
        SetSettingValue(SettingKey::UseTriggerKeyClose, c.closeByTrigger);
        SetSettingValue(SettingKey::KeyCtrl, c.ctrl);
        SetSettingValue(SettingKey::KeyShift, c.shift);
        SetSettingValue(SettingKey::KeyAlt, c.alt);
        CSettingsWnd4Key page;
        EXPECT_EQ(CloseKeys(page), c.closeKeys);
        EXPECT_EQ(Title(page), c.title);
        EXPECT_EQ(Box(page, "checkBox_trigger_c")->isChecked(), c.ctrl);
        EXPECT_EQ(Box(page, "checkBox_trigger_s")->isChecked(), c.shift);
        EXPECT_EQ(Box(page, "checkBox_trigger_a")->isChecked(), c.alt);
    }
}

TEST_F(KeyPage, ClicksRetitleInTheFixedOrder)
{
    const struct {
        std::vector<const char*> clicks;
        const char* title;
    } cases[] = {
        {{"checkBox_trigger_c", "checkBox_trigger_a"}, "Trigger Keys:  Ctrl + Alt + Space"},
        {{"checkBox_trigger_a", "checkBox_trigger_c"}, "Trigger Keys:  Ctrl + Alt + Space"},
        {{"checkBox_trigger_a", "checkBox_trigger_s", "checkBox_trigger_c"}, "Trigger Keys:  Ctrl + Shift + Alt + Space"},
        {{"checkBox_trigger_s", "checkBox_trigger_s"}, "Trigger Keys:  Space"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        CSettingsWnd4Key page;
        page.show();
        for (const char* name : c.clicks) {
            QCheckBox* box = Box(page, name);
            QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, box->rect().center());
        }
        EXPECT_EQ(Title(page), c.title);
    }
}

TEST_F(KeyPage, WrittenKeysAreReadBackByAFreshPage)
{
    const struct {
        bool shift, alt, ctrl;
    } cases[] = {{true, false, false}, {false, true, true}, {true, true, true}, {false, false, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.shift << c.alt << c.ctrl);
        {
            CSettingsWnd4Key page;
            Box(page, "checkBox_trigger_s")->setChecked(c.shift);
            Box(page, "checkBox_trigger_a")->setChecked(c.alt);
            Box(page, "checkBox_trigger_c")->setChecked(c.ctrl);
            page.WriteSettings();
        }
        EXPECT_EQ(GetSettingValue(SettingKey::KeyShift).toBool(), c.shift);
        EXPECT_EQ(GetSettingValue(SettingKey::KeyAlt).toBool(), c.alt);
        EXPECT_EQ(GetSettingValue(SettingKey::KeyCtrl).toBool(), c.ctrl);
        CSettingsWnd4Key fresh;
        EXPECT_EQ(Box(fresh, "checkBox_trigger_s")->isChecked(), c.shift);
        EXPECT_EQ(Box(fresh, "checkBox_trigger_a")->isChecked(), c.alt);
        EXPECT_EQ(Box(fresh, "checkBox_trigger_c")->isChecked(), c.ctrl);
    }
    EXPECT_EQ(QSettings().allKeys().size(), 3); // nothing but the three modifiers
}

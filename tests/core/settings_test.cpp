#include "core/settings.h"

#include <QFileInfo>
#include <QSettings>
#include <QStringList>

#include <gtest/gtest.h>

TEST(Settings, WrittenValuesAreReadBack)
{
    SetSettingValue(SettingKey::TextWrap, false);
    EXPECT_EQ(GetSettingValue(SettingKey::TextWrap), QVariant(false));
    SetSettingValue(SettingKey::Autorun, true);
    EXPECT_EQ(GetSettingValue(SettingKey::Autorun), QVariant(true));
    const QStringList suffixes{"abc", "x y", "ü"};
    SetSettingValue(SettingKey::TextSupport, suffixes);
    EXPECT_EQ(GetSettingValue(SettingKey::TextSupport).toStringList(), suffixes);

    // A writer with its own QSettings, as the settings dialog has.
    QSettings{}.setValue(SettingKey::MediaRepeat, true);
    EXPECT_TRUE(GetSettingValue(SettingKey::MediaRepeat).toBool());
    // The other spelling of the title bar key is not the same key.
    SetSettingValue("display_titlebar", false);
    EXPECT_TRUE(GetSettingValue(SettingKey::DisplayTitlebar).toBool());

    QSettings settings;
    settings.sync();
    const QString expected = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Keplo/Vuel.conf";
    EXPECT_EQ(settings.fileName(), expected);
    EXPECT_TRUE(QFileInfo::exists(expected));
}

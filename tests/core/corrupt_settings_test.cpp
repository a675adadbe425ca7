#include "core/settings.h"
#include "../writefile.h"

#include <QDir>

#include <gtest/gtest.h>

TEST(CorruptSettings, GarbageFileReadsAsDefaults)
{
    const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Keplo";
    ASSERT_TRUE(QDir().mkpath(folder));
    static const char start[] = "\xff\xfe\x00[General\n\x01=\x02\n[[[]]]\n=\\\n%G%\n";
    QByteArray garbage(start, sizeof(start) - 1);
    for (int i = 0; i < 4096; ++i)
        garbage.append(static_cast<char>((i * 7919 + 13) % 256));
    WriteFile(folder + "/Vuel.conf", garbage);

    // Read without a crash, as if the file were not there: a setting on by default is on.
    EXPECT_TRUE(GetSettingValue(SettingKey::TextWrap).toBool());
    EXPECT_FALSE(GetSettingValue(SettingKey::Autorun).toBool());
    EXPECT_TRUE(GetSettingValue(SettingKey::TextSupport).toStringList().isEmpty());
}

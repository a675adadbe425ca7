#include <QDir>
#include <QFile>

#include "core/settings.h"

#include <gtest/gtest.h>

namespace {

void ExpectAllDefaults()
{
    const struct {
        const char* key;
        QVariant expected;
    } cases[] = {
        {"autorun", false},          {"close_4_open_failed", false}, {"display_controls", false},
        {"key_alt", false},          {"key_ctrl", false},            {"key_shift", false},
        {"media_repeat", false},     {"office_support", false},      {"text_line_num", false},
        {"display titlebar", true},  {"openfile_by_default", true},  {"show_welcome", true},
        {"text_wrap", true},         {"tracking_file", true},        {"use_trigger_key_close_b", true},
        {"text_support", QVariant()}, {"display_titlebar", QVariant()}, {"no_such_key", QVariant()},
    };
    for (const auto& c : cases) {
        const QVariant value = GetSettingValue(c.key);
        EXPECT_EQ(value.isValid(), c.expected.isValid()) << c.key;
        if (c.expected.isValid()) {
            EXPECT_EQ(value.toBool(), c.expected.toBool()) << c.key;
        }
    }
    EXPECT_TRUE(GetSettingValue(SettingKey::TextSupport).toStringList().isEmpty());
}

} // namespace

TEST(CorruptSettings, GarbageFileReadsAsDefaults)
{
    const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME") + "/Keplo";
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile file(folder + "/Vuel.conf");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    static const char start[] = "\xff\xfe\x00[General\n\x01=\x02\n[[[]]]\n=\\\n%G%\n";
    QByteArray garbage(start, sizeof(start) - 1);
    for (int i = 0; i < 4096; ++i)
        garbage.append(static_cast<char>((i * 7919 + 13) % 256));
    file.write(garbage);
    file.close();

    ExpectAllDefaults();
}

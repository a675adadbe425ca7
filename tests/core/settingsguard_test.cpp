#include "core/settingsguard.h"
#include "../writefile.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(SettingsGuard, KeepsACopyOnlyOfWhatASaveWouldDrop)
{
    const struct {
        const char* what;
        QByteArray content;
        bool copied;
    } cases[] = {
        {"clean", "[General]\ntext_wrap=false\nkey_ctrl=true\n", false},
        {"newer keys and groups of known types",
         "[General]\ntext_wrap=false\nzoom=@Rect(1 2 3 4)\n[Future]\nlayout=3\n", false},
        {"blanks around =", "[General]\ntext_wrap = false\n", false},
        {"a value of a type this build does not know",
         "[General]\ntext_wrap=false\nfuture=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\nFancyType\\0\\0)\n", true},
        {"a line without =", "[General]\ntext_wrap=false\ngarbage here\n", true},
        {"binary damage", QByteArray("[General]\ntext_wrap=false\n\x01\xff\xfe\x00zz\n", 33), true},
        {"empty", "", false},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString file = dir.filePath("Vuel.conf");
        WriteFile(file, c.content);
        const QString copy = KeepUnreadableSettings(file);
        EXPECT_EQ(!copy.isEmpty(), c.copied) << c.what;
        EXPECT_TRUE(!c.copied || ReadFile(copy) == c.content) << c.what;
        EXPECT_EQ(ReadFile(file), c.content) << c.what << ": the file itself is left alone";
    }
}

TEST(SettingsGuard, OneCopyPerDamageAndNoneAfterTheSave)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("Vuel.conf");
    const QByteArray damaged =
        "[General]\ntext_wrap=false\nfuture=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\nFancyType\\0\\0)\n";
    WriteFile(file, damaged);
    EXPECT_EQ(KeepUnreadableSettings(file), file + ".unreadable");
    EXPECT_TRUE(KeepUnreadableSettings(file).isEmpty()) << "the same bytes are kept once";

    {
        QSettings settings(file, QSettings::IniFormat);
        settings.setValue("autorun", true);
    }
    EXPECT_TRUE(KeepUnreadableSettings(file).isEmpty()) << "what the save wrote reads back whole";
    EXPECT_EQ(ReadFile(file + ".unreadable"), damaged);

    WriteFile(file, "[General]\nnot a setting\n");
    EXPECT_EQ(KeepUnreadableSettings(file), file + ".unreadable-2") << "a new damage never replaces the first copy";
}

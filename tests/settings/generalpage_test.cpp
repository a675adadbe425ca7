#include "settings/csettingswnd4general.h"

#include "core/settings.h"
#include "platform/autostart.h"
#include "settingsstore.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

const struct { const char *box, *key; bool byDefault; } kBindings[] = {
    {"checkBox_dclicked_by_default", "openfile_by_default", true},
    {"checkBox_close_wnd_by_trigger_key", "use_trigger_key_close_b", true},
    {"checkBox_display_title", "display titlebar", true},
    {"checkBox_controls", "display_controls", false},
    {"checkBox_repeat_play", "media_repeat", false},
    {"checkBox_autorun", "autorun", false},
    {"checkBox_tracking", "tracking_file", true},
    {"checkBox_gnome_files", "gnome_files_space", true},
    {"checkBox_close_wnd", "close_4_open_failed", false},
    {"checkBox_wrap_text", "text_wrap", true},
    {"checkBox_line_num", "text_line_num", false},
};

QStringList EntryLines()
{
    QFile file(AutostartEntryPath());
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

// desktop-file-validate's complaints; empty when the entry is valid or the tool is missing.
QString ValidatorComplaints()
{
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start("desktop-file-validate", {AutostartEntryPath()});
    if (!validate.waitForFinished(-1))
        return QString();
    const QString output = QString::fromUtf8(validate.readAll()).trimmed();
    return validate.exitCode() == 0 ? output : output + " (failed)";
}

class GeneralPage : public ::testing::Test
{
protected:
    void SetUp() override { ResetStore(); }
};

} // namespace

TEST_F(GeneralPage, EmptyStoreShowsTheDefaultsAndEveryBoxRoundTrips)
{
    {
        CSettingsWnd4General page;
        for (const auto& b : kBindings) {
            auto* box = page.findChild<QCheckBox*>(b.box);
            ASSERT_NE(box, nullptr) << b.box;
            EXPECT_EQ(box->isChecked(), b.byDefault) << b.box;
            box->setChecked(!b.byDefault);
        }
        page.WriteSettings();
    }
    CSettingsWnd4General fresh;
    for (const auto& b : kBindings) {
        EXPECT_EQ(GetSettingValue(b.key).toBool(), !b.byDefault) << b.key;
        EXPECT_EQ(fresh.findChild<QCheckBox*>(b.box)->isChecked(), !b.byDefault) << b.box;
    }
}

TEST_F(GeneralPage, AutorunBoxWritesAndRemovesTheLogOnEntry)
{
    CSettingsWnd4General page;
    auto* autorun = page.findChild<QCheckBox*>("checkBox_autorun");
    autorun->setChecked(true);
    page.WriteSettings();
    const QStringList lines = EntryLines();
    for (const char* line : {"[Desktop Entry]", "Type=Application", "Name=Vuel", "X-GNOME-Autostart-enabled=true"})
        EXPECT_TRUE(lines.contains(line)) << line;
    EXPECT_TRUE(lines.contains("Exec=" + QCoreApplication::applicationFilePath()));

    const QString neighbour = QFileInfo(AutostartEntryPath()).path() + "/other.desktop";
    ASSERT_TRUE(QFile::copy(AutostartEntryPath(), neighbour));
    autorun->setChecked(false);
    page.WriteSettings();
    EXPECT_FALSE(QFile::exists(AutostartEntryPath()));
    EXPECT_TRUE(QFile::remove(neighbour)); // another program's entry is left alone
}

TEST_F(GeneralPage, TheEntryQuotesExecAsDesktopEntriesRequire)
{
    const struct { const char *path, *exec; } cases[] = { // the program's path, its Exec value in the file
        {"/opt/vuel/vuel", "/opt/vuel/vuel"},
        {"/home/a b/vuel", "\"/home/a b/vuel\""},
        {"/home/it's/vuel", "\"/home/it's/vuel\""},
        {"/x/100%/vuel", "/x/100%%/vuel"},
        {"/x/$d \"q\"/v", "\"/x/\\\\$d \\\\\"q\\\\\"/v\""},
        {"/x/a\\b/v", "\"/x/a\\\\\\\\b/v\""},
        {"/x/(a)&b;`c`/v", "\"/x/(a)&b;\\\\`c\\\\`/v\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        Autostart::Enable("Vuel", QString::fromUtf8(c.path)); // over the entry of the case before
        EXPECT_EQ(EntryLines().filter("Exec="), QStringList{"Exec=" + QString::fromUtf8(c.exec)});
        EXPECT_EQ(ValidatorComplaints(), QString());
    }
}

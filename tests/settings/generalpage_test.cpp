#include "settings/csettingswnd4general.h"

#include "core/settings.h"
#include "platform/autostart.h"
#include "settingsstore.h"

#include <QCheckBox>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

struct Binding {
    const char* box;
    const char* key;
    bool byDefault;
};

const Binding kBindings[] = {
    {"checkBox_dclicked_by_default", "openfile_by_default", true},
    {"checkBox_close_wnd_by_trigger_key", "use_trigger_key_close_b", true},
    {"checkBox_display_title", "display titlebar", true},
    {"checkBox_controls", "display_controls", false},
    {"checkBox_repeat_play", "media_repeat", false},
    {"checkBox_autorun", "autorun", false},
    {"checkBox_tracking", "tracking_file", true},
    {"checkBox_close_wnd", "close_4_open_failed", false},
    {"checkBox_wrap_text", "text_wrap", true},
    {"checkBox_line_num", "text_line_num", false},
};

QCheckBox* Box(QWidget& page, const char* name)
{
    auto* box = page.findChild<QCheckBox*>(name);
    EXPECT_NE(box, nullptr) << name;
    return box;
}

QString ReadEntry()
{
    QFile file(AutostartEntryPath());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString ExecLine(const QString& entry)
{
    for (const QString& line : entry.split('\n'))
        if (line.startsWith("Exec="))
            return line.mid(5);
    return QString();
}

// desktop-file-validate's complaints; empty when the entry is valid or the tool is missing.
QString ValidatorComplaints(const QString& path)
{
    const QString tool = QStandardPaths::findExecutable("desktop-file-validate");
    if (tool.isEmpty())
        return QString();
    QProcess validate;
    validate.start(tool, {path});
    validate.waitForFinished(-1);
    const QString output = QString::fromUtf8(validate.readAllStandardOutput() + validate.readAllStandardError());
    return validate.exitCode() == 0 && output.trimmed().isEmpty() ? QString() : output + " (exit code " +
                                                                                     QString::number(validate.exitCode()) + ")";
}

class GeneralPage : public ::testing::Test
{
protected:
    void SetUp() override { ResetStore(); }
    void TearDown() override { ResetStore(); }
};

} // namespace

TEST_F(GeneralPage, EmptyStoreShowsTheDefaults)
{
    CSettingsWnd4General page;
    for (const Binding& b : kBindings) {
        SCOPED_TRACE(b.box);
        EXPECT_EQ(Box(page, b.box)->isChecked(), b.byDefault);
    }
}

TEST_F(GeneralPage, WrittenBoxesAreReadBackByAFreshPage)
{
    for (const bool flip : {true, false}) {
        SCOPED_TRACE(flip ? "every box flipped" : "every box as by default");
        {
            CSettingsWnd4General page;
            for (const Binding& b : kBindings)
                Box(page, b.box)->setChecked(flip ? !b.byDefault : b.byDefault);
            page.WriteSettings();
        }
        CSettingsWnd4General fresh;
        for (const Binding& b : kBindings) {
            SCOPED_TRACE(b.key);
            const bool expected = flip ? !b.byDefault : b.byDefault;
            EXPECT_EQ(GetSettingValue(b.key).toBool(), expected);
            EXPECT_EQ(QSettings().value(b.key).type(), QVariant::Bool);
            EXPECT_EQ(Box(fresh, b.box)->isChecked(), expected);
        }
    }
}

TEST_F(GeneralPage, ShowingThePageRereadsTheStore)
{
    CSettingsWnd4General page;
    page.show();
    ASSERT_TRUE(Box(page, "checkBox_display_title")->isChecked());
    page.hide();
    SetSettingValue(SettingKey::DisplayTitlebar, false); // the preview window toggles it meanwhile
    SetSettingValue(SettingKey::DisplayControls, true);
    page.show();
    EXPECT_FALSE(Box(page, "checkBox_display_title")->isChecked());
    EXPECT_TRUE(Box(page, "checkBox_controls")->isChecked());
}

TEST_F(GeneralPage, AutorunWritesAndRemovesTheLogOnEntry)
{
    const QString neighbour = QFileInfo(AutostartEntryPath()).absolutePath() + "/other.desktop";
    QDir().mkpath(QFileInfo(neighbour).absolutePath());
    {
        QFile other(neighbour);
        ASSERT_TRUE(other.open(QIODevice::WriteOnly));
        other.write("[Desktop Entry]\nType=Application\nName=Other\nExec=other\n");
    }

    CSettingsWnd4General page;
    Box(page, "checkBox_autorun")->setChecked(true);
    page.WriteSettings();
    const QString entry = ReadEntry();
    ASSERT_FALSE(entry.isEmpty()) << AutostartEntryPath().toStdString();
    const QStringList lines = entry.split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.value(0), "[Desktop Entry]");
    for (const char* line : {"Type=Application", "Name=Vuel", "Icon=vuel", "X-GNOME-Autostart-enabled=true"})
        EXPECT_TRUE(lines.contains(line)) << line;
    EXPECT_TRUE(entry.contains("\nComment="));
    EXPECT_EQ(ExecLine(entry), QCoreApplication::applicationFilePath()); // no blanks in the build path
    EXPECT_EQ(ValidatorComplaints(AutostartEntryPath()), QString());
    EXPECT_TRUE(GetSettingValue(SettingKey::Autorun).toBool());

    Box(page, "checkBox_autorun")->setChecked(false);
    page.WriteSettings();
    EXPECT_FALSE(QFile::exists(AutostartEntryPath()));
    EXPECT_TRUE(QFile::exists(neighbour));
    EXPECT_FALSE(GetSettingValue(SettingKey::Autorun).toBool());
    QFile::remove(neighbour);
}

TEST(Autostart, ExecQuotesThePathAsDesktopEntriesRequire)
{
    const struct {
        const char* path;
        const char* exec; // as it stands in the file
    } cases[] = {
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
        Autostart::Enable("Vuel", QString::fromUtf8(c.path));
        const QString entry = ReadEntry();
        EXPECT_EQ(ExecLine(entry), QString::fromUtf8(c.exec));
        EXPECT_EQ(ValidatorComplaints(AutostartEntryPath()), QString());
    }
    Autostart::Disable("Vuel");
    EXPECT_FALSE(QFile::exists(AutostartEntryPath()));
}

TEST(Autostart, AMovedProgramReplacesTheOldPath)
{
    Autostart::Enable("Vuel", "/old/place/vuel");
    Autostart::Enable("Vuel", "/new/place/vuel");
    const QString entry = ReadEntry();
    EXPECT_EQ(ExecLine(entry), "/new/place/vuel");
    EXPECT_FALSE(entry.contains("/old/place"));
    EXPECT_EQ(entry.count("[Desktop Entry]"), 1);
    Autostart::Disable("Vuel");
}

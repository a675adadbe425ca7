// The log-on entry: any path of the program starts it, as desktop-file-validate reads the entry.
#include "platform/autostart.h"
#include "settingsstore.h"
#include "../writefile.h"

#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

QStringList EntryLines() { return QString::fromUtf8(ReadFile(AutostartEntryPath())).split('\n', Qt::SkipEmptyParts); }

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

} // namespace

TEST(Autostart, TheEntryQuotesExecAndRemovalLeavesOtherEntries)
{
    ResetStore();
    const struct {
        const char *path, *exec;
    } cases[] = {
        // the program's path, its Exec value in the file
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
    const QString neighbour = QFileInfo(AutostartEntryPath()).path() + "/other.desktop";
    ASSERT_TRUE(QFile::copy(AutostartEntryPath(), neighbour));
    Autostart::Disable("Vuel");
    EXPECT_FALSE(QFile::exists(AutostartEntryPath()));
    EXPECT_TRUE(QFile::remove(neighbour)); // another program's entry is left alone
}

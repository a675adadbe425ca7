// The settings dialog against a store file it did not write: keys of a newer version, and a
// file it may not change.
#include "settings/csettingsdlg.h"

#include "core/settings.h"
#include "settingsstore.h"
#include "../writefile.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QString StoreFile() { return QSettings().fileName(); }

void WriteStore(const QByteArray& text)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(StoreFile()).path()));
    WriteFile(StoreFile(), text);
    QSettings().sync(); // the process's cached copy reads the new file
}

// Every page opened, every box flipped, then saved as OK does.
void FlipEverythingAndSave()
{
    CSettingsDlg dialog(nullptr);
    for (const char* page : {"pushButton_file_type", "pushButton_keyboard"})
        dialog.findChild<QPushButton*>(page)->click();
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
        box->setChecked(!box->isChecked());
    dialog.SaveSettings();
}

const QByteArray kNewerStore = "[General]\ntext_wrap=false\nkey_ctrl=true\nzoom_memory=@Rect(1 2 3 4)\n"
                               "recent=a, b, c\n\n[Viewer%20Layout]\ncolumns=3\n";

} // namespace

TEST(StoreFile, KeysOfANewerVersionSurviveEveryPageSaving)
{
    ResetStore();
    WriteStore(kNewerStore);
    FlipEverythingAndSave();

    QSettings store;
    EXPECT_EQ(store.value("zoom_memory").toRect(), QRect(1, 2, 3, 4));
    EXPECT_EQ(store.value("recent").toStringList(), QStringList({"a", "b", "c"}));
    EXPECT_EQ(store.value("Viewer Layout/columns").toInt(), 3);
    EXPECT_TRUE(store.value(SettingKey::TextWrap).toBool()) << "our own keys are written";
    EXPECT_FALSE(store.value(SettingKey::KeyCtrl).toBool());
    ResetStore();
}

// Run in a child process as a user who may not write the file (root may write anything).
TEST(StoreFile, ChildSavesIntoAReadOnlyStore)
{
    if (!qEnvironmentVariableIsSet("VUEL_READONLY_CHILD"))
        GTEST_SKIP() << "run by ReadOnlyStoreIsLeftAsItIs";
    ASSERT_TRUE(QFileInfo::exists(StoreFile()));
    ASSERT_FALSE(QFileInfo(StoreFile()).isWritable());
    ASSERT_EQ(QSettings().value("Viewer Layout/columns").toInt(), 3);
    FlipEverythingAndSave();
    CSettingsDlg again(nullptr); // reads what could not be written, without complaint
}

TEST(StoreFile, ReadOnlyStoreIsLeftAsItIs)
{
    QTemporaryDir home;
    ASSERT_TRUE(QDir().mkpath(home.path() + "/config/Keplo"));
    const QString store = home.path() + "/config/Keplo/Vuel.conf";
    WriteFile(store, kNewerStore);
    for (const QString& path : {home.path(), home.path() + "/config", home.path() + "/config/Keplo"})
        QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther);
    QFile::setPermissions(store, QFile::ReadOwner | QFile::ReadOther);

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VUEL_READONLY_CHILD", "1");
    env.insert("VUEL_TEST_KEEP_HOME", "1");
    env.insert("XDG_CONFIG_HOME", home.path() + "/config");
    env.insert("XDG_RUNTIME_DIR", home.path());
    child.setProcessEnvironment(env);
    QStringList args{"--gtest_filter=StoreFile.ChildSavesIntoAReadOnlyStore"};
    QString program = QCoreApplication::applicationFilePath();
    if (geteuid() == 0) {
        const QString setpriv = QStandardPaths::findExecutable("setpriv");
        ASSERT_FALSE(setpriv.isEmpty()) << "setpriv (util-linux) drops root for the child";
        args = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups", program} + args;
        program = setpriv;
    }
    child.start(program, args);
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << child.readAllStandardError().toStdString();
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardOutput().toStdString();

    EXPECT_EQ(ReadFile(store), kNewerStore);
    for (const QString& path : {home.path(), home.path() + "/config", home.path() + "/config/Keplo"})
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

#include "settings/csettingswnd4plugins.h"

#include "cconfirmdlg/cconfirmdlg.h"
#include "cglobaldata/cglobaldata.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>

// The settings dialog hides this page, so no user reaches its forms; what stays checked is the plug-in table it
// writes beside the program, which every start reads.
namespace {

// Waits, inside the modal loop about to run, for a shown CConfirmDlg, then acts on it.
void WhenDialogOpens(const std::function<void(CConfirmDlg*)>& action)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<CConfirmDlg*>(w);
            if (dialog && dialog->isVisible()) {
                poll->deleteLater();
                poll->stop();
                action(dialog);
                return;
            }
        }
    });
    poll->start(20);
}

// The table file sits beside the test program and its neighbours: what was there comes back afterwards.
class PluginsPage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QFile file(Path());
        m_hadFile = file.open(QIODevice::ReadOnly);
        m_savedFile = file.readAll();
        CGlobalData::Instance().SetPlugins(
            {{"Conv", {"abc", "pdf"}, {"conv", "-x"}}, {"Pics", {"vpic", "vpicx"}, {"viewer"}}});
    }
    void TearDown() override
    {
        QDir(Path()).removeRecursively();
        QFile::remove(Path());
        QFile file(Path());
        if (m_hadFile && file.open(QIODevice::WriteOnly))
            file.write(m_savedFile);
    }
    static QString Path() { return CGlobalData::PluginTablePath(); }
    static void DeleteFirstRow(CSettingsWnd4Plugins& page)
    {
        page.findChild<QTableView*>("tableView")->selectRow(0);
        page.findChild<QPushButton*>("pushButton_del")->click();
    }

    bool m_hadFile = false;
    QByteArray m_savedFile;
};

} // namespace

TEST_F(PluginsPage, ADeletionIsReadByTheNextStart)
{
    {
        CSettingsWnd4Plugins page;
        DeleteFirstRow(page);
        page.WriteSettings();
    }
    const auto table = ReadPluginTable(Path());
    ASSERT_EQ(table.size(), 1);
    EXPECT_EQ(table[0].name, "Pics");
    EXPECT_EQ(table[0].suffixes, QStringList({"vpic", "vpicx"}));
    EXPECT_EQ(table[0].command, QStringList({"viewer"}));
}

TEST_F(PluginsPage, FailedSaveTellsTheUserAndChangesNothing)
{
    ASSERT_TRUE(QDir().mkpath(Path())); // a folder where the file should be: it cannot be written
    CSettingsWnd4Plugins page;
    DeleteFirstRow(page);
    QStringList told; // the title, then the texts
    WhenDialogOpens([&](CConfirmDlg* dialog) {
        told << dialog->windowTitle();
        for (QLabel* label : dialog->findChildren<QLabel*>())
            told << label->text();
        dialog->findChild<QPushButton*>("pushButton_ok")->click();
    });
    page.WriteSettings();
    EXPECT_EQ(told.value(0), "Error");
    EXPECT_TRUE(told.contains("Save plugins settings failed."));
    EXPECT_EQ(CGlobalData::Instance().Plugins().size(), 2);
}

#include "settings/csettingsdlg.h"

#include "cconfirmdlg/cconfirmdlg.h"
#include "settings/csettingswnd4filetype.h"
#include "settings/csettingswnd4general.h"
#include "settingsstore.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>
#include <memory>

namespace {

QPushButton* Button(QWidget& w, const char* name) { return w.findChild<QPushButton*>(name); }

class SettingsDlg : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetStore();
        auto [host, content] = CConfirmDlg::CreateDialog<CSettingsDlg>("Settings", false);
        host->SetCloseOnEsc(false); // as the controller builds the window
        m_host.reset(host);
        m_content = content;
    }
    void TearDown() override { CSettingsWnd4FileType::s_askOpenFile = m_askOpenFile; }

    const decltype(CSettingsWnd4FileType::s_askOpenFile) m_askOpenFile = CSettingsWnd4FileType::s_askOpenFile;
    std::unique_ptr<CConfirmDlg> m_host;
    CSettingsDlg* m_content = nullptr;
};

} // namespace

// A page never opened writes nothing: its keys keep what another program or version stored.
TEST_F(SettingsDlg, SaveWritesOnlyTheCreatedPages)
{
    const struct {
        std::vector<const char*> visits;
        int keyKeys;
        bool office;
    } cases[] = {
        {{}, 0, false},
        {{"pushButton_keyboard"}, 3, false},
        {{"pushButton_file_type", "pushButton_keyboard"}, 3, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.visits.size());
        ResetStore();
        CSettingsDlg dlg;
        for (const char* button : c.visits)
            Button(dlg, button)->click();
        dlg.SaveSettings();
        const QStringList keys = QSettings().allKeys();
        EXPECT_TRUE(keys.contains("text_wrap"));
        EXPECT_EQ(keys.filter(QRegularExpression("^key_")).size(), c.keyKeys);
        EXPECT_EQ(keys.contains("office_support"), c.office);
    }
}

TEST_F(SettingsDlg, EscInsideExecNeitherClosesNorWritesAndCancelSavesNothing)
{
    bool stayedOpen = false;
    QTimer::singleShot(250, m_host.get(), [&] {
        m_content->findChild<QCheckBox*>("checkBox_line_num")->setChecked(true);
        QTest::keyClick(m_content->findChild<CSettingsWnd4General*>(), Qt::Key_Escape);
        QTimer::singleShot(300, m_host.get(), [&] {
            stayedOpen = m_host->isVisible() && m_content->isVisible();
            Button(*m_host, "pushButton_cancel")->click();
        });
    });
    QTimer::singleShot(10000, m_host.get(), [&] { m_host->done(-1); }); // never hang the suite
    EXPECT_EQ(m_host->exec(), 0);
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(QSettings().allKeys().isEmpty());
}

TEST_F(SettingsDlg, ADuplicateSuffixShowsATipInTheHost)
{
    CSettingsWnd4FileType::s_askOpenFile = [](QWidget*, const QString&) { return QString("/tmp/x.PSD"); };
    m_host->show();
    Button(*m_content, "pushButton_file_type")->click();
    Button(*m_content, "pushButton_add_text")->click();
    auto* tip = m_host->findChild<QLabel*>("label_info");
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->text(), "'PSD' has already existed.");
    EXPECT_TRUE(tip->isVisible());
    EXPECT_TRUE(QSettings().allKeys().isEmpty());
}

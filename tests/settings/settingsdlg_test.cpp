#include "settings/csettingsdlg.h"

#include "cconfirmdlg/cconfirmdlg.h"
#include "settings/csettingswnd4filetype.h"
#include "settings/csettingswnd4general.h"
#include "settings/csettingswnd4key.h"
#include "settingsstore.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>
#include <memory>

namespace {

const QStringList kGeneralKeys{"autorun", "close_4_open_failed", "display titlebar", "display_controls", "gnome_files_space",
                               "media_repeat", "openfile_by_default", "text_line_num", "text_wrap",
                               "tracking_file", "use_trigger_key_close_b"};
const QStringList kKeyboardKeys{"key_alt", "key_ctrl", "key_shift"};

QPushButton* Button(QWidget& w, const char* name) { return w.findChild<QPushButton*>(name); }

QStringList Sorted(QStringList list)
{
    list.sort();
    return list;
}

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

TEST_F(SettingsDlg, OpensOnGeneralWithPluginsHidden)
{
    m_host->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Button(*m_content, "pushButton_general")->isChecked(); }));
    EXPECT_EQ(m_content->findChild<QStackedWidget*>()->currentWidget(), m_content->findChild<CSettingsWnd4General*>());
    QStringList visible;
    for (QPushButton* button : m_content->findChild<QWidget*>("wnd_nav_btns")->findChildren<QPushButton*>())
        if (button->isVisible())
            visible << button->text();
    EXPECT_EQ(visible, (QStringList{"General", "Type", "Keyboard"}));
    EXPECT_EQ(m_content->findChild<CSettingsWnd4FileType*>(), nullptr); // made on first show only
    EXPECT_EQ(m_content->findChild<CSettingsWnd4Key*>(), nullptr);
}

TEST_F(SettingsDlg, SaveWritesOnlyTheCreatedPages)
{
    const struct { std::vector<const char*> visits; QStringList keys; } cases[] = {
        {{}, kGeneralKeys},
        {{"pushButton_keyboard"}, kGeneralKeys + kKeyboardKeys},
        {{"pushButton_file_type", "pushButton_keyboard"}, kGeneralKeys + kKeyboardKeys + QStringList{"office_support"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys.size());
        ResetStore();
        CSettingsDlg dlg;
        for (const char* button : c.visits)
            Button(dlg, button)->click();
        dlg.SaveSettings();
        EXPECT_EQ(Sorted(QSettings().allKeys()), Sorted(c.keys));
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

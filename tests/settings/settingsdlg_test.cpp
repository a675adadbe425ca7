#include "settings/csettingsdlg.h"

#include "cconfirmdlg/cconfirmdlg.h"
#include "core/settings.h"
#include "settings/csettingswnd4filetype.h"
#include "settings/csettingswnd4general.h"
#include "settings/csettingswnd4key.h"
#include "settingsstore.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QStringList kGeneralKeys{"autorun",         "close_4_open_failed", "display titlebar",
                               "media_repeat",    "text_wrap",           "text_line_num",
                               "openfile_by_default", "display_controls", "use_trigger_key_close_b",
                               "tracking_file"};
const QStringList kKeyboardKeys{"key_shift", "key_alt", "key_ctrl"};

// The settings window as the controller builds it.
struct SettingsWindow {
    std::unique_ptr<CConfirmDlg> host;
    CSettingsDlg* content;
};

SettingsWindow MakeSettingsWindow()
{
    auto [host, content] = CConfirmDlg::CreateDialog<CSettingsDlg>("Settings", false);
    host->SetTitleBarHeight(28);
    host->SetIcon("://icons/32.png");
    host->HideLeftTitleWidget();
    host->setWindowOpacity(1.0);
    host->SetCloseOnEsc(false);
    host->SetContentSize(QSize(600, 400));
    host->setFixedSize(host->size());
    return {std::unique_ptr<CConfirmDlg>(host), content};
}

QPushButton* Button(QWidget& w, const char* name)
{
    auto* button = w.findChild<QPushButton*>(name);
    EXPECT_NE(button, nullptr) << name;
    return button;
}

QWidget* CurrentPage(CSettingsDlg& dlg) { return dlg.findChild<QStackedWidget*>("stackedWidget")->currentWidget(); }

// Runs `action` once the host's modal loop runs; returns exec()'s answer.
int ExecWhile(CConfirmDlg& host, const std::function<void()>& action)
{
    QTimer::singleShot(250, &host, action);
    bool stuck = false;
    QTimer::singleShot(10000, &host, [&] { // never hang the suite when the window fails to close
        stuck = true;
        host.done(0);
    });
    const int answer = host.exec();
    EXPECT_FALSE(stuck);
    return answer;
}

QStringList StoredKeys()
{
    QStringList keys = QSettings().allKeys();
    keys.sort();
    return keys;
}

QStringList Sorted(QStringList list)
{
    list.sort();
    return list;
}

class SettingsDlg : public ::testing::Test
{
protected:
    void SetUp() override { ResetStore(); }
    void TearDown() override
    {
        CSettingsWnd4FileType::s_askOpenFile = m_askOpenFile;
        ResetStore();
    }

    const decltype(CSettingsWnd4FileType::s_askOpenFile) m_askOpenFile = CSettingsWnd4FileType::s_askOpenFile;
};

} // namespace

TEST_F(SettingsDlg, OpensOnGeneralWithThreeVisibleButtons)
{
    SettingsWindow w = MakeSettingsWindow();
    w.host->show();
    auto* general = Button(*w.content, "pushButton_general");
    ASSERT_TRUE(ProcessEventsUntil([&] { return general->isChecked(); }));
    EXPECT_EQ(CurrentPage(*w.content), w.content->findChild<CSettingsWnd4General*>());
    EXPECT_FALSE(w.content->isWindow());

    QStringList visible;
    for (QPushButton* button : w.content->findChild<QWidget*>("wnd_nav_btns")->findChildren<QPushButton*>()) {
        EXPECT_TRUE(button->isCheckable());
        if (button->isVisible())
            visible << button->text();
    }
    EXPECT_EQ(visible, (QStringList{"General", "Type", "Keyboard"}));
    EXPECT_TRUE(Button(*w.content, "pushButton_plugins")->isHidden());
    EXPECT_EQ(w.content->findChild<CSettingsWnd4FileType*>(), nullptr);
    EXPECT_EQ(w.content->findChild<CSettingsWnd4Key*>(), nullptr);
}

TEST_F(SettingsDlg, NavigationIsMeasuredFromTheApplicationFont)
{
    CSettingsDlg dlg;
    int widest = 0;
    for (QPushButton* button : dlg.findChild<QWidget*>("wnd_nav_btns")->findChildren<QPushButton*>()) {
        SCOPED_TRACE(button->text().toStdString());
        QFont font = QApplication::font();
        font.setPointSize(button->font().pointSize());
        const QFontMetrics metrics(font);
        EXPECT_EQ(button->minimumHeight(), metrics.height() + 20);
        EXPECT_EQ(button->maximumHeight(), metrics.height() + 20);
        widest = qMax(widest, metrics.boundingRect(button->text()).width() + 1 + 40);
    }
    ASSERT_GT(widest, 40);
    EXPECT_EQ(dlg.findChild<QWidget*>("wnd_nav_btns")->maximumWidth(), widest);
    EXPECT_EQ(dlg.findChild<QWidget*>("wnd_nav_btns")->minimumWidth(), widest);
}

TEST_F(SettingsDlg, PagesAreMadeOnFirstShowOnly)
{
    const struct {
        const char* button;
        std::function<QWidget*(CSettingsDlg&)> page;
    } cases[] = {
        {"pushButton_file_type", [](CSettingsDlg& d) { return d.findChild<CSettingsWnd4FileType*>(); }},
        {"pushButton_keyboard", [](CSettingsDlg& d) { return d.findChild<CSettingsWnd4Key*>(); }},
    };
    SettingsWindow w = MakeSettingsWindow();
    w.host->show();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        ASSERT_EQ(c.page(*w.content), nullptr);
        Button(*w.content, c.button)->click();
        QWidget* page = c.page(*w.content);
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(CurrentPage(*w.content), page);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr); // the wait cursor is gone again
        EXPECT_TRUE(Button(*w.content, c.button)->isChecked());

        Button(*w.content, "pushButton_general")->click();
        EXPECT_EQ(CurrentPage(*w.content), w.content->findChild<CSettingsWnd4General*>());
        Button(*w.content, c.button)->click();
        EXPECT_EQ(c.page(*w.content), page);
        EXPECT_EQ(CurrentPage(*w.content), page);
        EXPECT_GT(w.content->findChild<QStackedWidget*>("stackedWidget")->indexOf(page), 0);
    }
    EXPECT_EQ(w.content->findChild<QStackedWidget*>("stackedWidget")->count(), 3);
}

TEST_F(SettingsDlg, SaveWritesOnlyTheCreatedPages)
{
    const struct {
        std::vector<const char*> visits;
        QStringList keys;
    } cases[] = {
        {{}, kGeneralKeys},
        {{"pushButton_keyboard"}, kGeneralKeys + kKeyboardKeys},
        {{"pushButton_file_type"}, kGeneralKeys + QStringList{"office_support"}},
        {{"pushButton_file_type", "pushButton_keyboard"}, kGeneralKeys + kKeyboardKeys + QStringList{"office_support"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys.size());
        ResetStore();
        CSettingsDlg dlg;
        for (const char* button : c.visits)
            Button(dlg, button)->click();
        dlg.SaveSettings();
        EXPECT_EQ(StoredKeys(), Sorted(c.keys));
    }
}

TEST_F(SettingsDlg, EscNeitherClosesNorWrites)
{
    SettingsWindow w = MakeSettingsWindow();
    bool stayedOpen = false;
    const int answer = ExecWhile(*w.host, [&] {
        QTest::keyClick(w.content, Qt::Key_Escape); // through the host, as a real key press goes
        QTest::keyClick(w.content->findChild<CSettingsWnd4General*>(), Qt::Key_Escape);
        QTimer::singleShot(300, w.host.get(), [&] {
            stayedOpen = w.host->isVisible() && w.content->isVisible();
            Button(*w.host, "pushButton_cancel")->click();
        });
    });
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(answer, 0);
    EXPECT_TRUE(StoredKeys().isEmpty());
}

TEST_F(SettingsDlg, EscIsLeftToTheHost)
{
    CSettingsDlg dlg; // alone, so the ignored key goes nowhere else
    dlg.show();
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&dlg, &esc);
    EXPECT_FALSE(esc.isAccepted());
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), 0);

    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QCoreApplication::sendEvent(&dlg, &other);
    EXPECT_TRUE(dlg.isVisible());
}

TEST_F(SettingsDlg, OkAfterOnlyGeneralWritesTheGeneralKeys)
{
    SettingsWindow w = MakeSettingsWindow();
    const int answer = ExecWhile(*w.host, [&] {
        w.content->findChild<QCheckBox*>("checkBox_line_num")->setChecked(true);
        Button(*w.host, "pushButton_ok")->click();
    });
    ASSERT_EQ(answer, 1);
    w.content->SaveSettings(); // the controller's step after an accepted host
    EXPECT_EQ(StoredKeys(), Sorted(kGeneralKeys));
    EXPECT_TRUE(GetSettingValue(SettingKey::TextLineNum).toBool());
    EXPECT_FALSE(QFile::exists(AutostartEntryPath()));
}

TEST_F(SettingsDlg, ADuplicateSuffixShowsATipInTheHost)
{
    CSettingsWnd4FileType::s_askOpenFile = [](QWidget*, const QString&) { return QString("/tmp/x.PSD"); };
    SettingsWindow w = MakeSettingsWindow();
    w.host->show();
    Button(*w.content, "pushButton_file_type")->click();
    Button(*w.content, "pushButton_add_text")->click();
    auto* tip = w.host->findChild<QLabel*>("label_info");
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->text(), "'PSD' has already existed.");
    EXPECT_TRUE(tip->isVisible());
    EXPECT_EQ(w.content->findChild<QLineEdit*>("lineEdit_search")->text(), "PSD");
    EXPECT_TRUE(StoredKeys().isEmpty());
}

TEST_F(SettingsDlg, ADuplicateSuffixWithoutAHostIsQuiet)
{
    CSettingsWnd4FileType::s_askOpenFile = [](QWidget*, const QString&) { return QString("/tmp/x.psd"); };
    CSettingsDlg dlg;
    Button(dlg, "pushButton_file_type")->click();
    Button(dlg, "pushButton_add_text")->click();
    EXPECT_EQ(dlg.findChild<QLineEdit*>("lineEdit_search")->text(), "psd");
}

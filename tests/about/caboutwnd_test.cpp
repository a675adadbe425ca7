#include "about/caboutwnd.h"

#include "cconfirmdlg/cconfirmdlg.h"

#include <QBoxLayout>
#include <QDesktopServices>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

// Stands in for the default browser.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;

public slots:
    void Open(const QUrl& url) { opened << url; }
};

void RunPendingEvents()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

// The about window in its host, as the controller shows it.
class AboutWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        host = CConfirmDlg::CreateDialog<CAboutWnd>("About", false).first;
        host->SetCancelVisible(false);
        host->show();
        RunPendingEvents();
        QDesktopServices::setUrlHandler("https", &browser, "Open");
    }
    void TearDown() override
    {
        QDesktopServices::unsetUrlHandler("https");
        delete host;
    }

    QWidget* Find(const char* name) const
    {
        auto* child = host->findChild<QWidget*>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QString Page() const { return host->findChild<QStackedWidget*>()->currentWidget()->objectName(); }
    QPushButton* Back() const { return qobject_cast<QPushButton*>(Find("pushButton_back")); }
    void Click(const char* label, Qt::MouseButton button = Qt::LeftButton, QPoint at = QPoint())
    {
        QTest::mouseClick(Find(label), button, Qt::NoModifier, at);
        RunPendingEvents();
    }

    CConfirmDlg* host = nullptr;
    UrlCatcher browser;
};

TEST_F(AboutWindow, BackSitsLeftOfOkAndShowsOnlyOnTheSupportPage)
{
    ASSERT_NE(Back(), nullptr);
    auto* bar = qobject_cast<QBoxLayout*>(Find("widget_bottom")->layout());
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->indexOf(Back()), bar->indexOf(Find("pushButton_ok")) - 1);

    EXPECT_EQ(Page(), "page");
    EXPECT_FALSE(Back()->isVisible());
    for (int round = 0; round < 2; ++round) { // the way there works again after Back
        Click("label_support");
        EXPECT_EQ(Page(), "page_pay");
        EXPECT_TRUE(Back()->isVisible());
        Back()->click();
        EXPECT_EQ(Page(), "page");
        EXPECT_FALSE(Back()->isVisible());
    }
    EXPECT_TRUE(browser.opened.isEmpty());
}

TEST_F(AboutWindow, LinkLabelsOpenTheirAddressOnALeftClickInside)
{
    const struct {
        const char* label;
        Qt::MouseButton button;
        QPoint at; // null: the middle
        QList<QUrl> opened;
    } cases[] = {
        {"label_qt_logo", Qt::LeftButton, {}, {QUrl("https://www.qt.io/")}},
        {"label_pay_link", Qt::LeftButton, {}, {QUrl("https://keplo.github.io/vuel/support")}},
        {"label_qt_logo", Qt::RightButton, {}, {}},
        {"label_pay_link", Qt::MiddleButton, {}, {}},
        {"label_qt_logo", Qt::LeftButton, {-5, -5}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.label) + " button " + std::to_string(c.button));
        browser.opened.clear();
        Click(c.label, c.button, c.at);
        EXPECT_EQ(browser.opened, c.opened);
        EXPECT_EQ(Page(), "page");
    }
}

TEST(CAboutWnd, DeletedBeforeItsDeferredSetupRuns)
{
    auto host = CConfirmDlg::CreateDialog<CAboutWnd>("About", false).first;
    delete host;
    RunPendingEvents();
}

} // namespace

#include "caboutwnd_test.moc"

#include "about/caboutwnd.h"

#include "cconfirmdlg/cconfirmdlg.h"

#include <QBoxLayout>
#include <QDesktopServices>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTest>
#include <QTextDocument>
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
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

QString PlainText(const QString& html)
{
    QTextDocument doc;
    doc.setHtml(html);
    return doc.toPlainText();
}

QStringList Hrefs(const QString& html)
{
    QStringList hrefs;
    QRegularExpressionMatchIterator it = QRegularExpression("href=\"([^\"]*)\"").globalMatch(html);
    while (it.hasNext())
        hrefs << it.next().captured(1);
    return hrefs;
}

// The about window in its host, set up as the controller does.
class AboutWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::tie(host, about) = CConfirmDlg::CreateDialog<CAboutWnd>("About", false);
        host->SetCloseOnEsc(true);
        host->SetCancelVisible(false);
        host->SetTitleBarHeight(28);
        host->SetIcon("://icons/32.png");
        host->HideLeftTitleWidget();
        host->SetOkText("About to close~");
        host->SetContentSize(QSize(400, 470));
        host->setFixedSize(host->size());
        host->show();
        RunPendingEvents();
        QDesktopServices::setUrlHandler("https", &browser, "Open");
    }

    void TearDown() override
    {
        QDesktopServices::unsetUrlHandler("https");
        delete host;
    }

    template <class T = QWidget>
    T* Find(const char* name) const
    {
        T* child = host->findChild<T*>(name);
        EXPECT_NE(child, nullptr) << name;
        return child;
    }

    QWidget* CurrentPage() const { return Find<QStackedWidget>("stackedWidget")->currentWidget(); }
    QPushButton* Back() const { return Find<QPushButton>("pushButton_back"); }

    void Release(const char* label, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(Find(label), button);
        RunPendingEvents();
    }

    void SaveGrab(const QString& path)
    {
        RunPendingEvents();
        EXPECT_TRUE(host->grab().save(path)) << path.toStdString();
    }

    CConfirmDlg* host = nullptr;
    CAboutWnd* about = nullptr;
    UrlCatcher browser;
};

TEST_F(AboutWindow, OpensOnTheFirstPageWithBackHidden)
{
    EXPECT_EQ(about->objectName(), "CAboutWnd");
    EXPECT_EQ(CurrentPage()->objectName(), "page");
    ASSERT_NE(Back(), nullptr);
    EXPECT_EQ(Back()->text(), "Back");
    EXPECT_FALSE(Back()->isVisible());
    SaveGrab("/tmp/about-c-first.png");
}

TEST_F(AboutWindow, BackStandsImmediatelyLeftOfOkInTheBottomBar)
{
    QWidget* bar = Find("widget_bottom");
    auto* layout = qobject_cast<QBoxLayout*>(bar->layout());
    ASSERT_NE(layout, nullptr);
    QPushButton* ok = Find<QPushButton>("pushButton_ok");
    EXPECT_EQ(Back()->parentWidget(), bar);
    EXPECT_EQ(layout->indexOf(Back()), layout->indexOf(ok) - 1);

    Release("label_support");
    ASSERT_TRUE(Back()->isVisible());
    EXPECT_LT(Back()->geometry().right(), ok->geometry().left());
    EXPECT_EQ(Back()->geometry().center().y(), ok->geometry().center().y());
}

TEST_F(AboutWindow, SupportLabelShowsTheSupportPageAndBackReturns)
{
    Release("label_support");
    EXPECT_EQ(CurrentPage()->objectName(), "page_pay");
    EXPECT_TRUE(Back()->isVisible());
    EXPECT_FALSE(Find<QLabel>("label_pay_pic")->pixmap(Qt::ReturnByValue).isNull());
    EXPECT_TRUE(browser.opened.isEmpty());
    SaveGrab("/tmp/about-c-support.png");

    Back()->click();
    EXPECT_EQ(CurrentPage()->objectName(), "page");
    EXPECT_FALSE(Back()->isVisible());

    Release("label_support"); // the way there works again
    EXPECT_EQ(CurrentPage()->objectName(), "page_pay");
}

TEST_F(AboutWindow, ClickableLabelsOpenTheirAddresses)
{
    const struct {
        const char* label;
        Qt::MouseButton button;
        QList<QUrl> opened;
    } cases[] = {
        {"label_qt_logo", Qt::LeftButton, {QUrl("https://www.qt.io/")}},
        {"label_pay_link", Qt::LeftButton, {QUrl("https://keplo.github.io/vuel/support")}},
        {"label_qt_logo", Qt::RightButton, {}},
        {"label_pay_link", Qt::RightButton, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.label) + (c.button == Qt::LeftButton ? " left" : " right"));
        browser.opened.clear();
        Release(c.label, c.button);
        EXPECT_EQ(browser.opened, c.opened);
    }
    EXPECT_EQ(CurrentPage()->objectName(), "page"); // neither label switches the page
    EXPECT_EQ(Find("label_pay_link")->toolTip(), "https://keplo.github.io/vuel/support");
}

TEST_F(AboutWindow, ReleaseOutsideTheLabelOpensNothing)
{
    QLabel* logo = Find<QLabel>("label_qt_logo");
    QTest::mousePress(logo, Qt::LeftButton);
    QTest::mouseRelease(logo, Qt::LeftButton, Qt::NoModifier, QPoint(-5, -5));
    RunPendingEvents();
    EXPECT_TRUE(browser.opened.isEmpty());
}

TEST_F(AboutWindow, LibrariesLinkToTheirHomePagesInOrderAboveTheQtLogo)
{
    const struct {
        const char* label;
        const char* name;
        const char* url;
    } libraries[] = {
        {"label_taglib", "TagLib", "https://taglib.org/"},
        {"label_qscintilla", "QScintilla", "https://www.riverbankcomputing.com/software/qscintilla/"},
        {"label_mpv", "libmpv", "https://mpv.io/"},
        {"label_poppler", "Poppler", "https://poppler.freedesktop.org/"},
    };
    auto* group = Find<QGroupBox>("groupBox_libs");
    EXPECT_EQ(group->title(), "About Vuel");
    int lastY = -1;
    for (const auto& lib : libraries) {
        SCOPED_TRACE(lib.name);
        auto* label = Find<QLabel>(lib.label);
        ASSERT_NE(label, nullptr);
        EXPECT_TRUE(group->isAncestorOf(label));
        EXPECT_EQ(label->toolTip(), lib.url);
        EXPECT_EQ(Hrefs(label->text()), QStringList{label->toolTip()});
        EXPECT_TRUE(PlainText(label->text()).startsWith(lib.name));
        EXPECT_TRUE(label->openExternalLinks());
        EXPECT_GT(label->y(), lastY);
        lastY = label->y();
    }
    auto* logo = Find<QLabel>("label_qt_logo");
    EXPECT_TRUE(group->isAncestorOf(logo));
    EXPECT_FALSE(logo->pixmap(Qt::ReturnByValue).isNull());
    EXPECT_EQ(logo->pixmap(Qt::ReturnByValue).size(), QSize(140, 100));
}

TEST_F(AboutWindow, HeaderShowsNameDescriptionAndVersionLink)
{
    EXPECT_EQ(Find<QLabel>("label_head")->text(), "Vuel");
    EXPECT_FALSE(Find<QLabel>("label_head_text")->text().isEmpty());
    auto* version = Find<QLabel>("label_head_text_sub");
    EXPECT_EQ(PlainText(version->text()), "Version 0.4.2");
    EXPECT_EQ(Hrefs(version->text()), QStringList{"https://keplo.github.io/vuel/"});
    EXPECT_TRUE(version->openExternalLinks());
}

TEST_F(AboutWindow, AuthorGroupOffersContactAndSupport)
{
    auto* group = Find<QGroupBox>("groupBox_author");
    EXPECT_EQ(group->title(), "About author");
    EXPECT_TRUE(group->isAncestorOf(Find("label_support")));
    QStringList links;
    for (QLabel* label : group->findChildren<QLabel*>())
        links << Hrefs(label->text());
    EXPECT_EQ(links, QStringList{"https://github.com/keplo/vuel/issues"});
}

TEST_F(AboutWindow, NoLabelIsClippedAtTheRight)
{
    for (const char* pageName : {"page", "page_pay"}) {
        SCOPED_TRACE(pageName);
        QWidget* page = Find(pageName);
        Find<QStackedWidget>("stackedWidget")->setCurrentWidget(page);
        RunPendingEvents();
        QWidget* viewport = page->findChild<QScrollArea*>()->viewport();
        for (QLabel* label : page->findChildren<QLabel*>()) {
            if (!label->isVisibleTo(page))
                continue;
            const std::string name = label->objectName().toStdString();
            EXPECT_LE(label->mapTo(viewport, QPoint(label->width(), 0)).x(), viewport->width()) << name;
            EXPECT_GE(label->width(), label->minimumSizeHint().width()) << name;
        }
    }
}

TEST(CAboutWnd, WorksWithoutAHost)
{
    auto* about = new CAboutWnd;
    about->show();
    RunPendingEvents();
    QTest::mouseClick(about->findChild<QLabel*>("label_support"), Qt::LeftButton);
    EXPECT_EQ(about->findChild<QStackedWidget*>("stackedWidget")->currentWidget()->objectName(), "page_pay");
    delete about;
}

TEST(CAboutWnd, DeletedBeforeItsDeferredSetupRuns)
{
    auto [host, about] = CConfirmDlg::CreateDialog<CAboutWnd>("About", false);
    (void)about;
    delete host;
    RunPendingEvents();
}

} // namespace

#include "caboutwnd_test.moc"

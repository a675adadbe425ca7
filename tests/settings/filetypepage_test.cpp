#include "settings/csettingswnd4filetype.h"

#include "core/settings.h"
#include "settingsstore.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

const QStringList kOffice{"doc", "docx", "xls", "xlsx", "ppt", "pptx", "vsd", "vsdx"};

const CSuffixTables& Tables() { return CGlobalData::Instance().Suffixes(); }

template <class T>
T* Find(QWidget& page, const char* name)
{
    auto* child = page.findChild<T*>(name);
    EXPECT_NE(child, nullptr) << name;
    return child;
}

QStringList Shown(QWidget& page, const char* label)
{
    return Find<QLabel>(page, label)->text().split("   ", Qt::SkipEmptyParts);
}

bool GroupHidden(QWidget& page, const char* label)
{
    return qobject_cast<QGroupBox*>(Find<QLabel>(page, label)->parentWidget())->isHidden();
}

bool Shows404(QWidget& page)
{
    auto* stack = Find<QStackedWidget>(page, "stackedWidget");
    return stack->currentWidget()->objectName() == "page_404";
}

struct Group {
    const char* label;
    QStringList suffixes;
};

std::vector<Group> Groups()
{
    return {
        {"label_text", Tables().SuffixesOfKind(MT_TEXT)},
        {"label_pic", Tables().SuffixesOfKind(MT_PICTURE)},
        {"label_media", Tables().SuffixesOfKind(MT_MEDIA)},
        {"label_dir", Tables().SuffixesOfKind(MT_DIR)},
        {"label_other", Tables().SuffixesOfKind(MT_DOCUMENT) + Tables().SuffixesOfKind(MT_MARKDOWN)},
    };
}

class FileTypePage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetStore();
        CSettingsWnd4FileType::s_askOpenFile = [this](QWidget*, const QString& title) {
            m_askedTitle = title;
            return m_chosen;
        };
    }
    void TearDown() override
    {
        CSettingsWnd4FileType::s_askOpenFile = m_askOpenFile;
        ResetStore();
    }

    void AddFile(CSettingsWnd4FileType& page, const QString& path)
    {
        m_chosen = path;
        Find<QPushButton>(page, "pushButton_add_text")->click();
    }

    const decltype(CSettingsWnd4FileType::s_askOpenFile) m_askOpenFile = CSettingsWnd4FileType::s_askOpenFile;
    QString m_chosen;
    QString m_askedTitle;
};

} // namespace

TEST_F(FileTypePage, GroupsShowTheRegistrysLists)
{
    CSettingsWnd4FileType page;
    for (const Group& g : Groups()) {
        SCOPED_TRACE(g.label);
        EXPECT_EQ(Find<QLabel>(page, g.label)->text(), g.suffixes.join("   "));
    }
    EXPECT_FALSE(Find<QCheckBox>(page, "checkBox_office")->isChecked());
    EXPECT_TRUE(Find<QLineEdit>(page, "lineEdit_search")->isClearButtonEnabled());
    EXPECT_EQ(Find<QLineEdit>(page, "lineEdit_search")->placeholderText(), "Search file suffix, e.g.: psd");
    EXPECT_TRUE(Find<QLabel>(page, "label_404")->text().contains(":/face_nohappy.png"));
    EXPECT_FALSE(QPixmap(":/face_nohappy.png").isNull());
}

TEST_F(FileTypePage, SearchShowsOnlyMatchingSuffixes)
{
    for (const QString& text : {QString("ps"), QString("PS")}) {
        SCOPED_TRACE(text.toStdString());
        CSettingsWnd4FileType page;
        Find<QLineEdit>(page, "lineEdit_search")->setText(text);
        EXPECT_FALSE(Shows404(page));
        EXPECT_TRUE(Shown(page, "label_pic").contains("psd"));
        EXPECT_TRUE(Shown(page, "label_pic").contains("psb"));
        for (const Group& g : Groups()) {
            SCOPED_TRACE(g.label);
            const QStringList matching = g.suffixes.filter("ps", Qt::CaseInsensitive);
            EXPECT_EQ(Shown(page, g.label), matching);
            EXPECT_EQ(GroupHidden(page, g.label), matching.isEmpty());
        }
        EXPECT_TRUE(Find<QPushButton>(page, "pushButton_add_text")->isHidden());
        EXPECT_TRUE(Find<QCheckBox>(page, "checkBox_office")->isHidden());
    }
}

TEST_F(FileTypePage, NoMatchShows404AndClearingRestores)
{
    CSettingsWnd4FileType page;
    auto* search = Find<QLineEdit>(page, "lineEdit_search");
    search->setText("qqzzqq");
    EXPECT_TRUE(Shows404(page));

    for (const QString& cleared : {QString(), QString("   ")}) {
        search->setText("qqzzqq");
        search->setText(cleared);
        EXPECT_FALSE(Shows404(page));
        for (const Group& g : Groups()) {
            SCOPED_TRACE(g.label);
            EXPECT_EQ(Shown(page, g.label), g.suffixes);
            EXPECT_FALSE(GroupHidden(page, g.label));
        }
        EXPECT_FALSE(Find<QPushButton>(page, "pushButton_add_text")->isHidden());
        EXPECT_FALSE(Find<QCheckBox>(page, "checkBox_office")->isHidden());
    }
}

TEST_F(FileTypePage, AKnownSuffixIsRefusedWhateverItsCase)
{
    const struct {
        const char* path;
        const char* signalled;
    } cases[] = {
        {"/tmp/x.PSD", "'PSD'"},
        {"/tmp/notes.Txt", "'Txt'"},
        {"/tmp/a.b.mp4", "'mp4'"},
        {"/tmp/x.pdf", "'pdf'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        CSettingsWnd4FileType page;
        const QString textBefore = Find<QLabel>(page, "label_text")->text();
        QSignalSpy spy(&page, &CSettingsWnd4FileType::SigShowInfoText);
        AddFile(page, c.path);
        ASSERT_EQ(spy.count(), 1);
        EXPECT_EQ(spy.at(0).at(0).toString(), c.signalled);
        const QString suffix = QString(c.signalled).remove('\'');
        auto* search = Find<QLineEdit>(page, "lineEdit_search");
        EXPECT_EQ(search->text(), suffix);
        EXPECT_EQ(search->selectedText(), suffix);
        EXPECT_EQ(m_askedTitle, "Select your Text format file");
        page.WriteSettings();
        EXPECT_FALSE(GetSettingValue(SettingKey::TextSupport).isValid());
        search->clear();
        EXPECT_EQ(Find<QLabel>(page, "label_text")->text(), textBefore);
    }
}

TEST_F(FileTypePage, ANewSuffixBecomesTextAfterSaving)
{
    CSettingsWnd4FileType page;
    QSignalSpy spy(&page, &CSettingsWnd4FileType::SigShowInfoText);
    AddFile(page, "/tmp/x.abc");
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(Shown(page, "label_text").last(), "abc");
    EXPECT_EQ(Tables().GetMainType("f.abc"), MT_UNKNOWN); // not before saving

    page.WriteSettings();
    EXPECT_EQ(GetSettingValue(SettingKey::TextSupport).toStringList(), QStringList{"abc"});
    EXPECT_EQ(Tables().GetMainType("f.abc"), MT_TEXT);
    EXPECT_EQ(Tables().GetSubType("f.abc"), ST_UNKNOWN);

    AddFile(page, "/tmp/again.ABC"); // now it is known
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), "'ABC'");

    CSettingsWnd4FileType fresh;
    EXPECT_TRUE(Shown(fresh, "label_text").contains("abc"));
}

TEST_F(FileTypePage, UnsavedSuffixesAreForgotten)
{
    {
        CSettingsWnd4FileType page;
        AddFile(page, "/tmp/x.abc");
    }
    EXPECT_FALSE(GetSettingValue(SettingKey::TextSupport).isValid());
    EXPECT_EQ(Tables().GetMainType("f.abc"), MT_UNKNOWN);
}

TEST_F(FileTypePage, NoFileOrNoSuffixAddsNothing)
{
    for (const char* path : {"", "/tmp/README", "/tmp/dir.d/Makefile"}) {
        SCOPED_TRACE(path);
        CSettingsWnd4FileType page;
        const QString textBefore = Find<QLabel>(page, "label_text")->text();
        QSignalSpy spy(&page, &CSettingsWnd4FileType::SigShowInfoText);
        AddFile(page, path);
        EXPECT_EQ(spy.count(), 0);
        EXPECT_EQ(Find<QLabel>(page, "label_text")->text(), textBefore);
        page.WriteSettings();
        EXPECT_FALSE(GetSettingValue(SettingKey::TextSupport).isValid());
        EXPECT_EQ(Tables().GetMainType("/tmp/README"), MT_UNKNOWN);
    }
}

TEST_F(FileTypePage, OfficeBoxChangesOtherAtOnceAndTheRegistryOnSave)
{
    CSettingsWnd4FileType page;
    page.show();
    auto* office = Find<QCheckBox>(page, "checkBox_office");
    ASSERT_FALSE(office->isChecked());
    for (const QString& suffix : kOffice)
        EXPECT_FALSE(Shown(page, "label_other").contains(suffix)) << suffix.toStdString();

    QTest::mouseClick(office, Qt::LeftButton, Qt::NoModifier, office->rect().center());
    ASSERT_TRUE(office->isChecked());
    EXPECT_EQ(Shown(page, "label_other"), Tables().SuffixesOfKind(MT_DOCUMENT) +
                                              Tables().SuffixesOfKind(MT_MARKDOWN) + kOffice);
    EXPECT_EQ(Tables().GetMainType("a.docx"), MT_UNKNOWN);
    EXPECT_FALSE(GetSettingValue(SettingKey::OfficeSupport).toBool());

    page.WriteSettings();
    EXPECT_TRUE(GetSettingValue(SettingKey::OfficeSupport).toBool());
    EXPECT_EQ(Tables().GetMainType("a.docx"), MT_DOCUMENT);

    CSettingsWnd4FileType fresh;
    fresh.show();
    auto* freshOffice = Find<QCheckBox>(fresh, "checkBox_office");
    EXPECT_TRUE(freshOffice->isChecked());
    QStringList before = Shown(fresh, "label_other");
    QTest::mouseClick(freshOffice, Qt::LeftButton, Qt::NoModifier, freshOffice->rect().center());
    QTest::mouseClick(freshOffice, Qt::LeftButton, Qt::NoModifier, freshOffice->rect().center());
    QStringList after = Shown(fresh, "label_other");
    before.sort();
    after.sort();
    EXPECT_EQ(after, before); // unchecked and checked again: every suffix once
    QTest::mouseClick(freshOffice, Qt::LeftButton, Qt::NoModifier, freshOffice->rect().center());
    ASSERT_FALSE(freshOffice->isChecked());
    for (const QString& suffix : kOffice)
        EXPECT_FALSE(Shown(fresh, "label_other").contains(suffix)) << suffix.toStdString();
    EXPECT_EQ(Tables().GetMainType("a.docx"), MT_DOCUMENT);

    fresh.WriteSettings();
    EXPECT_FALSE(GetSettingValue(SettingKey::OfficeSupport).toBool());
    EXPECT_EQ(Tables().GetMainType("a.docx"), MT_UNKNOWN);
}

TEST_F(FileTypePage, ShowingThePageFocusesTheSearch)
{
    CSettingsWnd4FileType page;
    page.show();
    page.activateWindow();
    auto* search = Find<QLineEdit>(page, "lineEdit_search");
    EXPECT_TRUE(ProcessEventsUntil([&] { return search->hasFocus(); }));
    EXPECT_TRUE(ProcessEventsUntil([&] { return Find<QLabel>(page, "label_pic")->wordWrap(); }));
}

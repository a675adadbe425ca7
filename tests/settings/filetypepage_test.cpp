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

#include <gtest/gtest.h>

namespace {

const CSuffixTables& Tables() { return CGlobalData::Instance().Suffixes(); }

QLabel* Label(QWidget& page, const char* name) { return page.findChild<QLabel*>(name); }
QStringList Shown(QWidget& page, const char* label)
{
    return Label(page, label)->text().split("   ", Qt::SkipEmptyParts);
}

// Each group's label with the suffixes the registry gives it.
std::vector<std::pair<const char*, QStringList>> Groups()
{
    return {{"label_text", Tables().SuffixesOfKind(MT_TEXT)},
            {"label_pic", Tables().SuffixesOfKind(MT_PICTURE)},
            {"label_media", Tables().SuffixesOfKind(MT_MEDIA)},
            {"label_dir", Tables().SuffixesOfKind(MT_DIR)},
            {"label_other", Tables().SuffixesOfKind(MT_DOCUMENT) + Tables().SuffixesOfKind(MT_MARKDOWN)}};
}

class FileTypePage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetStore();
        CSettingsWnd4FileType::s_askOpenFile = [this](QWidget*, const QString&) { return m_chosen; };
    }
    void TearDown() override { CSettingsWnd4FileType::s_askOpenFile = m_askOpenFile; }

    void AddFile(CSettingsWnd4FileType& page, const QString& path)
    {
        m_chosen = path;
        page.findChild<QPushButton*>("pushButton_add_text")->click();
    }

    const decltype(CSettingsWnd4FileType::s_askOpenFile) m_askOpenFile = CSettingsWnd4FileType::s_askOpenFile;
    QString m_chosen;
};

} // namespace

TEST_F(FileTypePage, SearchShowsMatchingSuffixesOr404AndClearingRestores)
{
    const struct {
        const char* text;
        bool nothingFound;
    } cases[] = {
        {"ps", false}, {"PS", false}, {"qqzzqq", true}, {"", false}, {"qqzzqq", true}, {"   ", false},
    };
    CSettingsWnd4FileType page;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        page.findChild<QLineEdit*>("lineEdit_search")->setText(c.text);
        const bool searching = !QString(c.text).trimmed().isEmpty();
        EXPECT_EQ(page.findChild<QStackedWidget*>()->currentWidget()->objectName() == "page_404", c.nothingFound);
        EXPECT_EQ(page.findChild<QPushButton*>("pushButton_add_text")->isHidden(), searching);
        EXPECT_EQ(page.findChild<QCheckBox*>("checkBox_office")->isHidden(), searching);
        if (c.nothingFound)
            continue;
        for (const auto& [label, suffixes] : Groups()) {
            SCOPED_TRACE(label);
            const QStringList matching = suffixes.filter(QString(c.text).trimmed(), Qt::CaseInsensitive);
            EXPECT_EQ(Shown(page, label), matching);
            EXPECT_EQ(qobject_cast<QGroupBox*>(Label(page, label)->parentWidget())->isHidden(), matching.isEmpty());
        }
    }
}

TEST_F(FileTypePage, AKnownSuffixOrNoneIsRefused)
{
    const struct {
        const char *path, *signalled;
    } cases[] = {
        {"/tmp/x.PSD", "'PSD'"}, {"/tmp/notes.Txt", "'Txt'"},    {"/tmp/a.b.mp4", "'mp4'"},
        {"", nullptr},           {"/tmp/dir.d/README", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        CSettingsWnd4FileType page;
        const QString textBefore = Label(page, "label_text")->text();
        QSignalSpy spy(&page, &CSettingsWnd4FileType::SigShowInfoText);
        AddFile(page, c.path);
        EXPECT_EQ(spy.value(0).value(0).toString(), c.signalled ? c.signalled : "");
        auto* search = page.findChild<QLineEdit*>("lineEdit_search");
        EXPECT_EQ(search->text(), QString(c.signalled).remove('\'')); // it shows where the suffix already is
        search->clear();
        EXPECT_EQ(Label(page, "label_text")->text(), textBefore);
        page.WriteSettings();
        EXPECT_FALSE(GetSettingValue(SettingKey::TextSupport).isValid());
    }
}

TEST_F(FileTypePage, OfficeBoxChangesOtherAtOnceAndTheRegistryOnlyOnSaving)
{
    const QStringList other = Groups().back().second;
    for (const bool on : {true, false}) {
        SCOPED_TRACE(on ? "ticked" : "unticked");
        CSettingsWnd4FileType page;
        auto* office = page.findChild<QCheckBox*>("checkBox_office");
        ASSERT_EQ(office->isChecked(), !on);
        office->click();
        if (on) { // and once more off and on: every suffix shown once
            office->click();
            office->click();
        }
        QStringList shown = Shown(page, "label_other");
        EXPECT_EQ(shown.mid(0, other.size()), other);
        EXPECT_EQ(shown.contains("docx"), on);
        EXPECT_EQ(shown.removeDuplicates(), 0);
        EXPECT_EQ(Tables().GetMainType("a.docx", false), on ? MT_UNKNOWN : MT_DOCUMENT);
        page.WriteSettings();
        EXPECT_EQ(GetSettingValue(SettingKey::OfficeSupport).toBool(), on);
        EXPECT_EQ(Tables().GetMainType("a.docx", false), on ? MT_DOCUMENT : MT_UNKNOWN);
    }
}

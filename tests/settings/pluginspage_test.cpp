#include "settings/csettingswnd4plugins.h"
#include "settings/csettingswnd4pluginsadd.h"

#include "cconfirmdlg/cconfirmdlg.h"
#include "cglobaldata/cglobaldata.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>

namespace {

template <class W = QPushButton>
W* Child(QObject* parent, const char* name)
{
    W* child = parent->findChild<W*>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// The rows a page shows, hidden ones left out: cells joined by "|", rows by " ; ".
std::string ShownRows(CSettingsWnd4Plugins& page)
{
    auto* table = Child<QTableView>(&page, "tableView");
    QStringList rows;
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < table->model()->columnCount(); ++column)
            cells << table->model()->index(row, column).data().toString();
        if (!table->isRowHidden(row))
            rows << cells.join('|');
    }
    return rows.join(" ; ").toStdString();
}

// Waits, inside the modal loop about to run, for a shown CConfirmDlg holding a W, then acts on it.
template <class W>
void WhenDialogOpens(const std::function<void(CConfirmDlg*)>& action)
{
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, action] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<CConfirmDlg*>(w);
            if (dialog && dialog->isVisible() && dialog->findChild<W*>()) {
                poll->deleteLater();
                poll->stop();
                action(dialog);
                return;
            }
        }
    });
    poll->start(20);
}

// Lets the form's deferred name checks run.
void Settle()
{
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
}

QString g_picked; // the file the suffix picker returns

void AddSuffixOf(QWidget* form, const QString& file)
{
    g_picked = file;
    Child(form, "pushButton_add")->click();
}

// The page with two plug-ins; its add dialog is hidden, as the settings dialog hides the page itself:
// what it writes (the plug-in table beside the program) is what matters.
// The table file sits beside the test program and its neighbours: what was there comes back afterwards.
class PluginsPage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QFile file(Path());
        m_hadFile = file.open(QIODevice::ReadOnly);
        m_savedFile = file.readAll();
        CGlobalData::Instance().SetPlugins({{"Conv", {"abc", "pdf"}, {"conv", "-x"}},
                                            {"Pics", {"vpic", "vpicx"}, {"viewer"}}});
        CSettingsWnd4PluginsAdd::m_pickFile = [](QWidget*, QString) { return g_picked; };
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
        Child<QTableView>(&page, "tableView")->selectRow(0);
        Child(&page, "pushButton_del")->click();
    }

    bool m_hadFile = false;
    QByteArray m_savedFile;
};

} // namespace

// The dialog knows the names and suffixes taken now; what it adds, and a deletion, are read by the next start.
TEST_F(PluginsPage, AddDialogRefusesTakenNamesAndSuffixesAndTheResultSurvivesARestart)
{
    QStringList tips;
    {
        CSettingsWnd4Plugins page;
        DeleteFirstRow(page); // frees "abc"
        WhenDialogOpens<CSettingsWnd4PluginsAdd>([&](CConfirmDlg* dialog) {
            auto* form = dialog->findChild<CSettingsWnd4PluginsAdd*>();
            auto* name = Child<QLineEdit>(form, "lineEdit_name");
            QTest::keyClicks(name, "Pics");
            QTest::keyClick(name, Qt::Key_Return);
            Settle();
            for (const char* file : {"/v/notes.TXT", "/x/movie.vpicx", "/d/data.abc", "/d/again.ABC", "/d/README"}) {
                Child<QLabel>(dialog, "label_info")->clear();
                AddSuffixOf(form, file);
                tips << Child<QLabel>(dialog, "label_info")->text();
            }
            Child<QWidget>(form, "widget_args_container")->findChild<QLineEdit*>()->setText("prog");
            Child(dialog, "pushButton_ok")->click();
        });
        Child(&page, "pushButton_add")->click();
        WhenDialogOpens<CSettingsWnd4PluginsAdd>([](CConfirmDlg* d) { Child(d, "pushButton_cancel")->click(); });
        Child(&page, "pushButton_add")->click(); // cancelled: adds nothing
        page.WriteSettings();
    }
    EXPECT_EQ(tips,
              QStringList({"TXT already exist.", "vpicx already exist in the Pics.", "", "ABC already exist.", ""}));
    CGlobalData::Instance().SetPlugins(ReadPluginTable(Path())); // what a new start reads
    CSettingsWnd4Plugins restarted;
    EXPECT_EQ(ShownRows(restarted), "Pics|vpic   vpicx|viewer ; Pics_|abc|prog");
}

TEST_F(PluginsPage, FailedSaveTellsTheUserAndChangesNothing)
{
    ASSERT_TRUE(QDir().mkpath(Path())); // a folder where the file should be: it cannot be written
    CSettingsWnd4Plugins page;
    DeleteFirstRow(page);
    QStringList told; // the title, then the texts
    WhenDialogOpens<QLabel>([&](CConfirmDlg* dialog) {
        told << dialog->windowTitle();
        for (QLabel* label : dialog->findChildren<QLabel*>())
            told << label->text();
        Child(dialog, "pushButton_ok")->click();
    });
    page.WriteSettings();
    EXPECT_EQ(told.value(0), "Error");
    EXPECT_TRUE(told.contains("Save plugins settings failed."));
    EXPECT_EQ(CGlobalData::Instance().Plugins().size(), 2);
}

#include "settings/csettingswnd4plugins.h"
#include "settings/csettingswnd4pluginsadd.h"

#include "cconfirmdlg/cconfirmdlg.h"
#include "cglobaldata/cglobaldata.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>
#include <gtest/gtest.h>

namespace {

using Action = std::function<void(CConfirmDlg*)>;

template <class W>
W* Child(QObject* parent, const char* name)
{
    W* child = parent->findChild<W*>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

std::string Dump(const QList<PluginRecord>& records)
{
    QStringList rows;
    for (const PluginRecord& r : records)
        rows << QString("%1|%2|%3").arg(r.name, r.suffixes.join(','), r.command.join(','));
    return rows.join(" ; ").toStdString();
}

// The rows a page shows, hidden ones left out: cells joined by "|", rows by " ; ".
std::string ShownRows(CSettingsWnd4Plugins& page)
{
    auto* table = Child<QTableView>(&page, "tableView");
    QStringList rows;
    for (int row = 0; row < table->model()->rowCount(); ++row) {
        if (table->isRowHidden(row))
            continue;
        QStringList cells;
        for (int column = 0; column < table->model()->columnCount(); ++column)
            cells << table->model()->index(row, column).data().toString();
        rows << cells.join('|');
    }
    return rows.join(" ; ").toStdString();
}

// Waits, inside whatever modal loop runs, for a shown CConfirmDlg holding a W, then acts on it.
template <class W>
void WhenDialogOpens(const Action& action)
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

// Types any text, also letters no key of the test's keyboard has.
void Type(QWidget* widget, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_A, QString(c), Qt::NoModifier);
}

void ClickOk(CConfirmDlg* dialog) { Child<QPushButton>(dialog, "pushButton_ok")->click(); }

// The table file sits beside the test program: whatever was there comes back afterwards.
class PluginsPage : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedPlugins = CGlobalData::Instance().Plugins();
        QFile file(Path());
        m_hadFile = file.open(QIODevice::ReadOnly);
        m_savedFile = m_hadFile ? file.readAll() : QByteArray();
        CGlobalData::Instance().SetPlugins({{"Conv", {"abc", "pdf"}, {"conv", "-x"}},
                                            {"Pics", {"vpic", "vpicx"}, {"viewer"}}});
        CSettingsWnd4PluginsAdd::m_pickFile = [this](QWidget*, QString) { return m_picked; };
    }
    void TearDown() override
    {
        CGlobalData::Instance().SetPlugins(m_savedPlugins);
        QDir(Path()).removeRecursively();
        QFile::remove(Path());
        if (m_hadFile) {
            QFile file(Path());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(m_savedFile);
        }
    }
    static QString Path() { return CGlobalData::PluginTablePath(); }

    // Fills the "Add Plugin" form of the page's dialog and accepts it.
    Action AddThrough(const QString& name, const QStringList& suffixFiles, const QStringList& parameters)
    {
        return [=](CConfirmDlg* dialog) {
            auto* form = dialog->findChild<CSettingsWnd4PluginsAdd*>();
            Type(Child<QLineEdit>(form, "lineEdit_name"), name);
            for (const QString& file : suffixFiles) {
                m_picked = file;
                Child<QPushButton>(form, "pushButton_add")->click();
            }
            for (const QString& parameter : parameters) {
                auto* container = Child<QWidget>(form, "widget_args_container");
                container->findChildren<QLineEdit*>().last()->setText(parameter);
                Child<QPushButton>(form, "pushButton_add_plugin")->click();
            }
            ClickOk(dialog);
        };
    }

    QString m_picked;
    QList<PluginRecord> m_savedPlugins;
    bool m_hadFile = false;
    QByteArray m_savedFile;
};

// A form in a dialog that is never executed: its widgets behave as in the running dialog.
class PluginsAddForm : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::tie(m_dialog, m_form) = CConfirmDlg::CreateDialog<CSettingsWnd4PluginsAdd>("Add Plugin", false);
        m_form->SetTaken({{"", {"md", "mp4", "txt"}, {}}, {"Conv", {"abc"}, {"conv"}}, {"Conv_", {}, {"c"}}});
        CSettingsWnd4PluginsAdd::m_pickFile = [this](QWidget*, QString title) {
            m_askedTitle = title;
            return m_picked;
        };
    }
    void TearDown() override { delete m_dialog; }

    void AddSuffixOf(const QString& file)
    {
        m_picked = file;
        Child<QPushButton>(m_form, "pushButton_add")->click();
    }
    QStringList Suffixes() const
    {
        QStringList list;
        auto* widget = Child<QListWidget>(m_form, "listWidget");
        for (int i = 0; i < widget->count(); ++i)
            list << widget->item(i)->text();
        return list;
    }
    QList<QLineEdit*> Editors() const
    {
        return Child<QWidget>(m_form, "widget_args_container")->findChildren<QLineEdit*>();
    }
    QString Preview() const { return Child<QLineEdit>(m_form, "lineEdit_preview_plugin")->text(); }
    QLabel* Tip() const { return Child<QLabel>(m_dialog, "label_info"); }
    bool OkEnabled() const { return Child<QPushButton>(m_dialog, "pushButton_ok")->isEnabled(); }

    CConfirmDlg* m_dialog = nullptr;
    CSettingsWnd4PluginsAdd* m_form = nullptr;
    QString m_picked;
    QString m_askedTitle;
};

} // namespace

TEST(PluginsPageHelpers, RowsAndSearch)
{
    EXPECT_EQ(PluginRowOf({"Conv", {"a", "b"}, {"conv", "-x"}}), QStringList({"Conv", "a   b", "conv -x"}));
    const PluginRow row = {"Conv", "abc   pdf", "conv -x"};
    const struct {
        const char* text;
        bool shown;
    } cases[] = {
        {"", true},     {"   ", true}, {"pdf", true},     {"  PDF  ", true}, {"conv", true},
        {"-X", true},   {"c   p", true}, {"tif", false},  {"Conv pdf", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RowMatchesSearch(row, c.text), c.shown) << '"' << c.text << '"';
}

TEST(PluginsAddHelpers, PreviewAndOwners)
{
    EXPECT_EQ(CommandPreview({}), "");
    EXPECT_EQ(CommandPreview({" prog ", "", "arg"}), "prog  arg");
    EXPECT_EQ(CommandPreview({"", " "}), "");
    const QList<PluginRecord> taken = {{"", {"mp4"}, {}}, {"A", {"x", "MP4"}, {"a"}}, {"B", {"x"}, {"b"}}};
    EXPECT_EQ(SuffixOwner(taken, "mp4"), QString("A")); // the last owner wins
    EXPECT_EQ(SuffixOwner(taken, "X"), QString("B"));
    EXPECT_EQ(SuffixOwner({{"", {"mp4"}, {}}}, "Mp4"), QString(""));
    EXPECT_FALSE(SuffixOwner(taken, "y").has_value());
}

TEST_F(PluginsPage, ShowsTheRegistrysPlugins)
{
    CSettingsWnd4Plugins page;
    EXPECT_EQ(ShownRows(page), "Conv|abc   pdf|conv -x ; Pics|vpic   vpicx|viewer");
    auto* table = Child<QTableView>(&page, "tableView");
    EXPECT_EQ(table->model()->headerData(0, Qt::Horizontal).toString(), "Name");
    EXPECT_EQ(table->model()->headerData(1, Qt::Horizontal).toString(), "Suffix");
    EXPECT_EQ(table->model()->headerData(2, Qt::Horizontal).toString(), "Plugin");
    EXPECT_EQ(table->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(Child<QLineEdit>(&page, "lineEdit_search")->placeholderText(), "Search plugins");
    EXPECT_EQ(Child<QPushButton>(&page, "pushButton_about")->text(), "About plugin");
    EXPECT_FALSE(Child<QPushButton>(&page, "pushButton_about")->isChecked());
    EXPECT_FALSE(Child<QPushButton>(&page, "pushButton_del")->isEnabled());
    EXPECT_EQ(Child<QPushButton>(&page, "pushButton_add")->text(), "+");
    auto* stack = Child<QStackedWidget>(&page, "stackedWidget");
    EXPECT_EQ(stack->currentWidget()->objectName(), "page");

    Child<QPushButton>(&page, "pushButton_about")->click();
    EXPECT_EQ(stack->currentWidget()->objectName(), "page_about_plugin");
    EXPECT_FALSE(stack->currentWidget()->findChild<QLabel*>()->text().isEmpty());
    Child<QPushButton>(&page, "pushButton_about")->click();
    EXPECT_EQ(stack->currentWidget()->objectName(), "page");
}

TEST_F(PluginsPage, SearchHidesRowsThatDoNotMatch)
{
    CSettingsWnd4Plugins page;
    auto* search = Child<QLineEdit>(&page, "lineEdit_search");
    const struct {
        const char* text;
        const char* rows;
    } cases[] = {
        {"pdf", "Conv|abc   pdf|conv -x"},
        {"  pdf ", "Conv|abc   pdf|conv -x"},
        {"VIEW", "Pics|vpic   vpicx|viewer"},
        {"nothing", ""},
        {"", "Conv|abc   pdf|conv -x ; Pics|vpic   vpicx|viewer"},
    };
    for (const auto& c : cases) {
        search->setText(c.text);
        EXPECT_EQ(ShownRows(page), c.rows) << '"' << c.text << '"';
    }
}

TEST_F(PluginsPage, DeleteRemovesTheSelectedRowOnlyFromThePage)
{
    CSettingsWnd4Plugins page;
    auto* table = Child<QTableView>(&page, "tableView");
    auto* del = Child<QPushButton>(&page, "pushButton_del");
    table->selectRow(0);
    EXPECT_TRUE(del->isEnabled());
    del->click();
    EXPECT_EQ(ShownRows(page), "Pics|vpic   vpicx|viewer");
    EXPECT_EQ(del->isEnabled(), table->selectionModel()->hasSelection());
    table->clearSelection();
    EXPECT_FALSE(del->isEnabled());
    table->selectRow(0);
    del->click();
    EXPECT_EQ(ShownRows(page), "");
    EXPECT_FALSE(del->isEnabled());
    EXPECT_EQ(CGlobalData::Instance().Plugins().size(), 2);
    EXPECT_FALSE(QFile::exists(Path()));
}

TEST_F(PluginsPage, AddPluginDialogAppendsItsPlugin)
{
    CSettingsWnd4Plugins page;
    QString title;
    QSize size, fixed;
    WhenDialogOpens<CSettingsWnd4PluginsAdd>([&](CConfirmDlg* dialog) {
        title = dialog->windowTitle();
        size = dialog->size();
        fixed = dialog->maximumSize();
        AddThrough("Tex", {"/any/where/a.tex", "/b.LTX"}, {"latex2txt", "q"})(dialog);
    });
    Child<QPushButton>(&page, "pushButton_add")->click();
    EXPECT_EQ(title, "Add Plugin");
    EXPECT_EQ(size, fixed);
    EXPECT_EQ(ShownRows(page), "Conv|abc   pdf|conv -x ; Pics|vpic   vpicx|viewer ; Tex|tex   LTX|latex2txt q");

    WhenDialogOpens<CSettingsWnd4PluginsAdd>(
        [](CConfirmDlg* dialog) { Child<QPushButton>(dialog, "pushButton_cancel")->click(); });
    Child<QPushButton>(&page, "pushButton_add")->click();
    EXPECT_EQ(Child<QTableView>(&page, "tableView")->model()->rowCount(), 3);
}

TEST_F(PluginsPage, AddPluginDialogKnowsTheTakenNamesAndSuffixes)
{
    CSettingsWnd4Plugins page;
    QString name, tip;
    WhenDialogOpens<CSettingsWnd4PluginsAdd>([&](CConfirmDlg* dialog) {
        auto* form = dialog->findChild<CSettingsWnd4PluginsAdd*>();
        auto* edit = Child<QLineEdit>(form, "lineEdit_name");
        QTest::keyClicks(edit, "Pics");
        QTest::keyClick(edit, Qt::Key_Return);
        EXPECT_TRUE(QTest::qWaitFor([&] { return edit->text() == "Pics_"; }));
        name = edit->text();
        m_picked = "/x/movie.vpicx";
        Child<QPushButton>(form, "pushButton_add")->click();
        tip = Child<QLabel>(dialog, "label_info")->text();
        Child<QPushButton>(dialog, "pushButton_cancel")->click();
    });
    Child<QPushButton>(&page, "pushButton_add")->click();
    EXPECT_EQ(name, "Pics_");
    EXPECT_EQ(tip, "vpicx already exist in the Pics.");
}

TEST_F(PluginsPage, WrittenTableSurvivesARestart)
{
    {
        CSettingsWnd4Plugins page;
        Child<QTableView>(&page, "tableView")->selectRow(0);
        Child<QPushButton>(&page, "pushButton_del")->click();
        WhenDialogOpens<CSettingsWnd4PluginsAdd>(AddThrough(QString::fromUtf8("Änderung"), {"/n.xyz"}, {"prog", "a"}));
        Child<QPushButton>(&page, "pushButton_add")->click();
        page.WriteSettings();
    }
    const std::string expected = QString::fromUtf8("Pics|vpic,vpicx|viewer ; Änderung|xyz|prog,a").toStdString();
    EXPECT_EQ(Dump(CGlobalData::Instance().Plugins()), expected);
    EXPECT_EQ(Dump(ReadPluginTable(Path())), expected);

    CGlobalData::Instance().SetPlugins(ReadPluginTable(Path())); // what a new start reads
    CSettingsWnd4Plugins restarted;
    EXPECT_EQ(ShownRows(restarted), QString::fromUtf8("Pics|vpic   vpicx|viewer ; Änderung|xyz|prog a").toStdString());
}

TEST_F(PluginsPage, FailedSaveTellsTheUserAndChangesNothing)
{
    ASSERT_TRUE(QDir().mkpath(Path())); // a folder where the file should be: no user can open it for writing
    CSettingsWnd4Plugins page;
    Child<QTableView>(&page, "tableView")->selectRow(0);
    Child<QPushButton>(&page, "pushButton_del")->click();
    QString title, text, button;
    bool alert = false;
    WhenDialogOpens<QLabel>([&](CConfirmDlg* dialog) {
        title = dialog->windowTitle();
        for (QLabel* label : dialog->findChildren<QLabel*>()) {
            if (label->text() == "Save plugins settings failed.")
                text = label->text();
        }
        button = Child<QPushButton>(dialog, "pushButton_ok")->text();
        alert = Child<QWidget>(dialog, "wnd_title")->styleSheet().contains("#ff3333");
        ClickOk(dialog);
    });
    page.WriteSettings();
    EXPECT_EQ(title, "Error");
    EXPECT_EQ(text, "Save plugins settings failed.");
    EXPECT_EQ(button, "Ok");
    EXPECT_TRUE(alert);
    EXPECT_EQ(Dump(CGlobalData::Instance().Plugins()), "Conv|abc,pdf|conv,-x ; Pics|vpic,vpicx|viewer");
    EXPECT_TRUE(QFileInfo(Path()).isDir());
}

TEST_F(PluginsAddForm, StartsWithOneEmptyEditorAndOkDisabled)
{
    EXPECT_EQ(Editors().size(), 1);
    EXPECT_TRUE(Editors().first()->text().isEmpty());
    EXPECT_EQ(Editors().first()->placeholderText(), "parameter: number and letter only ");
    EXPECT_EQ(Child<QLineEdit>(m_form, "lineEdit_name")->placeholderText(), "Plugin name");
    EXPECT_EQ(Child<QLineEdit>(m_form, "lineEdit_preview_plugin")->placeholderText(),
              "Fill parameter editor, one parameter one line");
    EXPECT_TRUE(Child<QLineEdit>(m_form, "lineEdit_preview_plugin")->isReadOnly());
    EXPECT_FALSE(Child<QPushButton>(m_form, "pushButton_del")->isEnabled());
    EXPECT_FALSE(OkEnabled());
}

TEST_F(PluginsAddForm, OkNeedsANameASuffixAndAParameter)
{
    auto* name = Child<QLineEdit>(m_form, "lineEdit_name");
    auto* list = Child<QListWidget>(m_form, "listWidget");
    const struct {
        const char* name;
        bool suffix;
        const char* parameter;
        bool ok;
    } cases[] = {
        {"", false, "", false},   {"N", false, "", false},  {"", true, "", false},   {"", false, "p", false},
        {"N", true, "", false},   {"N", false, "p", false}, {"", true, "p", false},  {"N", true, "p", true},
        {"   ", true, "p", false},
    };
    for (const auto& c : cases) {
        list->clear();
        Editors().first()->setText(c.parameter);
        if (c.suffix)
            AddSuffixOf("/a.xyz");
        name->setText(c.name);
        EXPECT_EQ(OkEnabled(), c.ok) << c.name << c.suffix << c.parameter;
    }
    // Removing the last suffix takes the permission back.
    list->setCurrentRow(0);
    EXPECT_TRUE(Child<QPushButton>(m_form, "pushButton_del")->isEnabled());
    Child<QPushButton>(m_form, "pushButton_del")->click();
    EXPECT_TRUE(Suffixes().isEmpty());
    EXPECT_FALSE(OkEnabled());
}

TEST_F(PluginsAddForm, TakenSuffixesAreRefusedWithATip)
{
    const struct {
        const char* file;
        const char* tip; // empty: added
    } cases[] = {
        {"/v/clip.mp4", "mp4 already exist."},
        {"/v/CLIP.MP4", "MP4 already exist."},
        {"/d/data.abc", "abc already exist in the Conv."},
        {"/d/new.xyz", ""},
        {"/d/again.XYZ", "XYZ already exist."},
        {"/d/README", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        Tip()->clear();
        Tip()->hide();
        AddSuffixOf(c.file);
        EXPECT_EQ(Tip()->text(), c.tip) << c.file;
        EXPECT_EQ(!Tip()->isHidden(), *c.tip != '\0') << c.file;
    }
    EXPECT_EQ(Suffixes(), QStringList({"xyz"}));
    EXPECT_EQ(m_askedTitle, "Custom File");
}

TEST_F(PluginsAddForm, TakenNameGetsUnderscoresUntilUnique)
{
    auto* name = Child<QLineEdit>(m_form, "lineEdit_name");
    const struct {
        const char* typed;
        const char* result;
    } cases[] = {
        {"Conv", "Conv__"}, // "Conv_" is taken as well
        {"Other", "Other"},
        {"Conv_", "Conv__"},
    };
    for (const auto& c : cases) {
        name->clear();
        QTest::keyClicks(name, c.typed);
        QTest::keyClick(name, Qt::Key_Return);
        EXPECT_TRUE(QTest::qWaitFor([&] { return name->text() == c.result; }));
        QCoreApplication::processEvents(); // a further check must not add more
        EXPECT_EQ(name->text(), c.result) << c.typed;
    }
}

TEST_F(PluginsAddForm, EditorsAcceptWordCharactersOnly)
{
    auto* name = Child<QLineEdit>(m_form, "lineEdit_name");
    Type(name, QString::fromUtf8("my conv-2!_名"));
    EXPECT_EQ(name->text(), QString::fromUtf8("myconv2_名"));
    QTest::keyClicks(Editors().first(), "a/b c");
    EXPECT_EQ(Editors().first()->text(), "abc");
}

TEST_F(PluginsAddForm, ParameterEditorsMakeTheCommand)
{
    auto* add = Child<QPushButton>(m_form, "pushButton_add_plugin");
    auto* del = Child<QPushButton>(m_form, "pushButton_del_plugin");
    Editors().first()->setText("prog");
    add->click();
    add->click(); // the empty editor is replaced, not piled up
    EXPECT_EQ(Editors().size(), 2);
    Editors().last()->setText("arg");
    EXPECT_EQ(Preview(), "prog arg");

    Editors().first()->setFocus();
    del->click();
    EXPECT_EQ(Editors().size(), 1);
    EXPECT_EQ(Preview(), "arg");
    EXPECT_EQ(m_form->window()->focusWidget(), Editors().first());

    del->click(); // the only editor goes: a new, empty one takes its place
    ASSERT_EQ(Editors().size(), 1);
    EXPECT_TRUE(Editors().first()->text().isEmpty());
    EXPECT_EQ(Preview(), "");
}

TEST_F(PluginsAddForm, GetPluginCollectsTheForm)
{
    QTest::keyClicks(Child<QLineEdit>(m_form, "lineEdit_name"), "Docs");
    AddSuffixOf("/a.odt");
    AddSuffixOf("/b.ODS");
    Editors().first()->setText("soffice2txt");
    Child<QPushButton>(m_form, "pushButton_add_plugin")->click();
    Editors().last()->setText("quiet");
    const PluginRecord plugin = m_form->GetPlugin();
    EXPECT_EQ(plugin.name, "Docs");
    EXPECT_EQ(plugin.suffixes, QStringList({"odt", "ODS"}));
    EXPECT_EQ(plugin.command, QStringList({"soffice2txt", "quiet"}));
    EXPECT_TRUE(OkEnabled());
}


TEST_F(PluginsAddForm, NewParameterEditorIsScrolledIntoView)
{
    m_dialog->SetContentSize(QSize(380, 420));
    m_dialog->show();
    auto* bar = Child<QScrollArea>(m_form, "scrollArea")->verticalScrollBar();
    for (const char* parameter : {"a", "b", "c", "d", "e"}) {
        Editors().last()->setText(parameter);
        Child<QPushButton>(m_form, "pushButton_add_plugin")->click();
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->maximum() > 0 && bar->value() == bar->maximum(); }));
    EXPECT_EQ(Preview(), "a b c d e");
}

#include "pdf/bookmarkshandler.h"
#include "pdf/filesettings.h"
#include "pdf/pageitem.h"
#include "pdf/selectpageaction.h"
#include "pdf/zoomaction.h"
#include "pdf/zoomtext.h"
#include "testpdfs.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <memory>

namespace {

// ---- zoom and page selectors

TEST(ZoomText, PercentAndParsingFollowTheLocale)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    EXPECT_EQ(ZoomPercentText(12.5, german) + ZoomPercentText(66.666, english), QString("12,5%66.67%"));
    const struct {
        const char* text;
        qreal english, german;
    } parsed[] = {{" 75 % ", 0.75, 0.75}, {"12.5%", 0.125, 1.25}, {"12,5%", 1.25, 0.125}, {"zoom 200 please", 2, 2},
                  {"1,000", 6, 0.1},      {"-300", 3, 3},         {"abc", 0.1, 0.1},      {"", 0.1, 0.1}};
    for (const auto& c : parsed) {
        EXPECT_DOUBLE_EQ(ParseZoomText(c.text, 0.1, 6.0, english), c.english) << c.text;
        EXPECT_DOUBLE_EQ(ParseZoomText(c.text, 0.1, 6.0, german), c.german) << c.text;
    }
}

TEST(ZoomAction, ShownZoomIsListedWithoutEmittingTypedZoomEmitsOnceClamped)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QWidget parent;
    ZoomAction action;
    auto* box = qobject_cast<QComboBox*>(action.requestWidget(&parent));
    auto* other = qobject_cast<QComboBox*>(action.requestWidget(&parent));
    ASSERT_TRUE(box && other && box->isEditable());
    const int presets = box->count();
    QSignalSpy added(&action, &ZoomAction::zoomFactorAdded);
    action.setZoomFactor(2.0);
    EXPECT_EQ(box->count(), presets) << "a preset is listed once";
    action.setZoomFactor(1.125);
    EXPECT_EQ(added.count(), 0);
    EXPECT_EQ(box->currentText(), QString("112.5%"));
    EXPECT_EQ(box->itemText(box->currentIndex() + 1), QString("125%"));
    EXPECT_EQ(box->count(), presets + 1);
    for (const auto& typed : {qMakePair(QString("150"), 1.5), qMakePair(QString("7"), 0.1)}) {
        added.clear();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box, typed.first);
        QTest::keyClick(box, Qt::Key_Return);
        ASSERT_EQ(added.count(), 1) << qPrintable(typed.first);
        EXPECT_DOUBLE_EQ(added.at(0).at(0).toReal(), typed.second);
        EXPECT_EQ(other->currentText(), QString::number(typed.second * 100) + "%");
    }
    QLocale::setDefault(QLocale::system());
}

TEST(SelectPageAction, TypedOrChosenEntriesGoToTheirPageOnce)
{
    const QList<QPair<const char*, int>> texts{{"ii (2 / 4)", 1}, {"ii", 1}, {"2", 3}, {"(3 / 4)", 2},
                                               {"x", -1},         {"9", -1}}; // labels before numbers; -1: no page
    for (const auto& text : texts) {
        SelectPageAction action;
        action.setPageLabels({"i", "ii", "1", "2"});
        action.setCurrentPage(3);
        QSignalSpy selected(&action, &SelectPageAction::pageSelected);
        action.slotGoToPage(text.first);
        EXPECT_EQ(selected.isEmpty() ? -1 : selected.at(0).at(0).toInt(), text.second) << text.first;
        EXPECT_EQ(action.currentIndex(), text.second < 0 ? 3 : text.second) << text.first;
    }
    QWidget parent;
    SelectPageAction action;
    action.setPageLabels({"1", "2", "3"});
    auto* first = qobject_cast<QComboBox*>(action.requestWidget(&parent));
    action.setCurrentPage(2);
    auto* second = qobject_cast<QComboBox*>(action.requestWidget(&parent));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->currentIndex(), 2);
    QSignalSpy selected(&action, &SelectPageAction::pageSelected);
    emit first->activated(0);
    EXPECT_EQ(second->currentIndex(), 0);
    first->lineEdit()->selectAll(); // keys go to the box, which hands them to its line edit
    QTest::keyClicks(first, "3 (3 / 3)");
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_EQ(selected.count(), 2);
    EXPECT_EQ(selected.value(1).value(0).toInt(), 2);
    EXPECT_EQ(first->count(), 3) << "typed text is not added";
}

// ---- per-file settings

// (A garbage file reads as defaults as the main settings' does: core corrupt_settings_test.)
TEST(FileSettings, AnUncreatableFolderReadsAsDefaultsWithoutACrash)
{
    QTemporaryDir dir;
    const QString blocker = dir.filePath("cache"); // a file where the folder would go
    WriteFile(blocker, "x");
    const QByteArray old = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", blocker.toLocal8Bit());
    FileSettings("/x.pdf").setValue("ZoomFactor", 2.0);
    EXPECT_DOUBLE_EQ(FileSettings("/x.pdf").value("ZoomFactor", 1.0).toReal(), 1.0);
    FileSettings::trim(0);
    qputenv("XDG_CACHE_HOME", old);
    EXPECT_TRUE(QFileInfo(blocker).isFile());
}

TEST(FileSettings, TrimDeletesTheOldestFilesUntilTheFolderIsWithinTheLimit)
{
    const QList<QPair<qint64, QStringList>> cases{// the limit beyond the folder entry's own size; kept
                                                  {4000, {"f0.ini", "f1.ini", "f2.ini", "f3.ini"}},
                                                  {3999, {"f1.ini", "f2.ini", "f3.ini"}},
                                                  {1000, {"f3.ini"}},
                                                  {999, {}}};
    QDir folder(FileSettings::folder());
    for (const auto& c : cases) {
        for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden))
            folder.remove(name);
        for (int i = 0; i < 4; ++i) { // 1000 bytes each, f0 the oldest
            QFile file(folder.filePath(QString("f%1.ini").arg(i)));
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            file.write(QByteArray(1000, 'x'));
            file.flush(); // a later flush would set the time to now
            file.setFileTime(QDateTime::currentDateTime().addSecs(60 * i - 3600), QFileDevice::FileModificationTime);
        }
        FileSettings::trim(QFileInfo(folder.path()).size() + c.first);
        EXPECT_EQ(folder.entryList(QDir::Files, QDir::Name), c.second) << c.first;
    }
}

// ---- bookmarks

TEST(BookmarksHandler, StepsToTheNearestListsToggledOnesAndKeepsThemPerDocumentWithoutBrokenOnes)
{
    const struct {
        qreal current, previous, next; // -1: none
    } cases[] = {{0, -1, 1.5}, {1.5, -1, 3}, {2, 1.5, 3}, {4.99, 3, 5}, {5, 3, -1}, {9, 5, -1}};
    QWidget parent;
    BookmarksHandler handler(&parent);
    for (qreal position : {5.0, 1.5, 3.0}) {
        handler.setCurrentPosition(position);
        handler.toggleBookmark();
    }
    for (const auto& c : cases) {
        handler.setCurrentPosition(c.current);
        for (const auto& step : {qMakePair(handler.previousAction(), c.previous), {handler.nextAction(), c.next}}) {
            QSignalSpy go(&handler, &BookmarksHandler::goToPosition);
            step.first->trigger();
            EXPECT_EQ(go.isEmpty() ? -1 : go.at(0).at(0).toReal(), step.second) << c.current;
        }
    }

    handler.loadBookmarks("/docs/marked.pdf"); // none stored for it yet
    const QString unmarked = handler.toggleAction()->text();
    for (qreal position : {2.5, 0.25}) {
        handler.setCurrentPosition(position);
        EXPECT_EQ(handler.toggleAction()->text(), unmarked);
        handler.toggleAction()->trigger();
        EXPECT_NE(handler.toggleAction()->text(), unmarked);
    }
    const QList<QAction*> entries = handler.menuAction()->menu()->actions().mid(4); // after toggle, steps, line
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0]->text() + entries[1]->text(), QString("Page 1Page 3"));
    QSignalSpy go(&handler, &BookmarksHandler::goToPosition);
    entries[1]->trigger();
    EXPECT_EQ(go.value(0).value(0).toReal(), 2.5);
    handler.loadBookmarks("/docs/other.pdf");
    EXPECT_TRUE(handler.bookmarks().isEmpty());

    BookmarksHandler again(&parent);
    again.loadBookmarks("/docs/marked.pdf");
    EXPECT_EQ(again.bookmarks(), QList<qreal>({0.25, 2.5}));
    for (qreal position : {0.25, 2.5}) {
        again.setCurrentPosition(position);
        again.toggleBookmark();
    }
    EXPECT_FALSE(FileSettings("/docs/marked.pdf").value("Bookmarks").isValid()) << "none left: no key";
    FileSettings("/docs/broken.pdf").setValue("Bookmarks", QStringList({"3.5", "nonsense", "-2", "1"}));
    again.loadBookmarks("/docs/broken.pdf");
    EXPECT_EQ(again.bookmarks(), QList<qreal>({1.0, 3.5}));
}

// ---- links and form fields

class PageItemTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        document.reset(Poppler::Document::load(WriteLinksAndFormsPdf(dir.filePath("links.pdf"))));
        ASSERT_TRUE(document && document->numPages() == 2);
        page.reset(document->page(0));
    }

    // The fields' values as Poppler reads them now: text, checked state or chosen index.
    QVariant fieldValue(const QString& name) const
    {
        std::unique_ptr<Poppler::Page> now(document->page(0));
        QVariant value;
        for (Poppler::FormField* field : now->formFields()) {
            if (field->name() == name && field->type() == Poppler::FormField::FormText)
                value = static_cast<Poppler::FormFieldText*>(field)->text();
            else if (field->name() == name && field->type() == Poppler::FormField::FormButton)
                value = static_cast<Poppler::FormFieldButton*>(field)->state();
            else if (field->name() == name)
                value = static_cast<Poppler::FormFieldChoice*>(field)->currentChoices().value(0);
            delete field;
        }
        return value;
    }

    template <typename Widget>
    static Widget* widgetFor(const QList<QPair<QWidget*, QRectF>>& widgets, const QString& name)
    {
        for (const auto& entry : widgets) {
            auto* field = entry.first->property("PageItem::formField").value<Poppler::FormField*>();
            if (field && field->name() == name)
                return qobject_cast<Widget*>(entry.first);
        }
        return nullptr;
    }

    QTemporaryDir dir;
    std::unique_ptr<Poppler::Document> document;
    std::unique_ptr<Poppler::Page> page;
};

TEST_F(PageItemTest, LinksAreFoundByTheirAreasAndTellWhereTheyGo)
{
    PageItem item(page.get());
    const QList<QPair<qreal, QString>> links{// the links' centres from the page's top, in points
                                             {30, "Go to page 2"},
                                             {80, "Go to https://example.org/vuel"},
                                             {130, "Go to next page"},
                                             {55, ""}};
    for (const auto& link : links)
        EXPECT_EQ(PageItem::toolTipFor(item.linkAt(QPointF(0.2, link.first / 300))), link.second) << link.first;
    EXPECT_EQ(item.linkAt(QPointF(-1, 5)), nullptr);
    const Poppler::LinkBrowse noUrl(QRectF(0, 0, 1, 1), QString());
    EXPECT_EQ(PageItem::toolTipFor(&noUrl), QString());

    std::unique_ptr<Poppler::Page> plain(document->page(1));
    for (PageItem* other : {new PageItem(plain.get()), new PageItem(nullptr)}) {
        EXPECT_EQ(other->linkAt(QPointF(0.2, 0.1)), nullptr);
        EXPECT_TRUE(other->createFormWidgets().isEmpty());
        other->slotSetFormData(QString("no sender"));
        delete other;
    }
}

TEST_F(PageItemTest, FormFieldsBecomeWidgetsThatWriteBackWhileTheirItemLives)
{
    auto item = std::make_unique<PageItem>(page.get());
    const auto widgets = item->createFormWidgets();
    EXPECT_EQ(widgets.size(), 5);
    auto* name = widgetFor<QLineEdit>(widgets, "name");
    auto* notes = widgetFor<QTextEdit>(widgets, "notes");
    auto* agree = widgetFor<QCheckBox>(widgets, "agree");
    auto* colour = widgetFor<QComboBox>(widgets, "colour");
    auto* fixed = widgetFor<QLineEdit>(widgets, "fixed");
    ASSERT_TRUE(name && notes && agree && colour && fixed);
    EXPECT_EQ(name->text(), QString("Alice"));
    EXPECT_EQ(widgets.value(0).second, QRectF(0.5, 20 / 300.0, 140 / 300.0, 30 / 300.0)) << "name's place";
    EXPECT_EQ(notes->toPlainText(), QString("one\ntwo"));
    EXPECT_FALSE(agree->isChecked());
    EXPECT_EQ(colour->currentText(), QString("green"));
    EXPECT_FALSE(fixed->isEnabled());

    name->end(false);
    QTest::keyClicks(name, " Smith");
    name->setText("ignored"); // a program-set text is no edit of a single-line field
    notes->setPlainText("three\nfour");
    agree->setChecked(true);
    colour->setCurrentIndex(2);
    EXPECT_EQ(fieldValue("name"), QVariant("Alice Smith"));
    EXPECT_EQ(fieldValue("notes"), QVariant("three\nfour"));
    EXPECT_EQ(fieldValue("agree"), QVariant(true));
    EXPECT_EQ(fieldValue("colour"), QVariant(2));
    item.reset(); // the fields go with it
    QTest::keyClicks(name, "x");
    EXPECT_EQ(fieldValue("name"), QVariant("Alice Smith"));
    for (const auto& entry : widgets)
        delete entry.first;
}

} // namespace

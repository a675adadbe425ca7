// The PDF view's parts from the outside: zoom texts, per-file settings, the selector actions,
// bookmarks, link tool tips and form widgets on generated documents.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>

#include <memory>

#include "pdf/bookmarkshandler.h"
#include "pdf/filesettings.h"
#include "pdf/pageitem.h"
#include "pdf/selectpageaction.h"
#include "pdf/zoomaction.h"
#include "pdf/zoomtext.h"

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);

// Sets the default locale for one test and puts the old one back.
class DefaultLocale {
public:
    explicit DefaultLocale(const QLocale& locale) { QLocale::setDefault(locale); }
    ~DefaultLocale() { QLocale::setDefault(m_old); }

private:
    QLocale m_old;
};

void RemoveSettingsFiles()
{
    QDir folder(FileSettings::folder());
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden))
        folder.remove(name);
}

QString SettingsFilePath(const QString& documentPath)
{
    return FileSettings::folder() + "/" + FileSettings::fileNameFor(documentPath);
}

// ---- zoom texts ----

struct PercentCase {
    qreal percent;
    const char* english;
    const char* german;
};

class ZoomPercentTextTest : public ::testing::TestWithParam<PercentCase> {};

TEST_P(ZoomPercentTextTest, WritesTwoDecimalsWithoutTrailingZeros)
{
    const PercentCase& c = GetParam();
    EXPECT_EQ(ZoomPercentText(c.percent, kEnglish).toStdString(), c.english);
    EXPECT_EQ(ZoomPercentText(c.percent, kGerman).toStdString(), c.german);
}

INSTANTIATE_TEST_SUITE_P(Percents, ZoomPercentTextTest, ::testing::Values(
    PercentCase{150, "150%", "150%"},
    PercentCase{12.5, "12.5%", "12,5%"},
    PercentCase{33.3333, "33.33%", "33,33%"},
    PercentCase{66.666, "66.67%", "66,67%"},
    PercentCase{0, "0%", "0%"}));

struct ParseCase {
    const char* text;
    qreal english;
    qreal german;
};

class ParseZoomTextTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseZoomTextTest, KeepsDigitsAndTheDecimalPointAndClamps)
{
    const ParseCase& c = GetParam();
    const QString text = QString::fromUtf8(c.text);
    EXPECT_DOUBLE_EQ(ParseZoomText(text, 0.1, 6.0, kEnglish), c.english) << c.text;
    EXPECT_DOUBLE_EQ(ParseZoomText(text, 0.1, 6.0, kGerman), c.german) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseZoomTextTest, ::testing::Values(
    ParseCase{"150%", 1.5, 1.5},
    ParseCase{"150", 1.5, 1.5},
    ParseCase{" 75 % ", 0.75, 0.75},
    ParseCase{"12.5%", 0.125, 1.25},     // "." is no decimal point in German
    ParseCase{"12,5%", 1.25, 0.125},
    ParseCase{"zoom 200 please", 2.0, 2.0},
    ParseCase{"1,000", 6.0, 0.1},        // 10 and 0.01, both clamped
    ParseCase{"5", 0.1, 0.1},
    ParseCase{"-300", 3.0, 3.0},         // the sign is dropped too
    ParseCase{"abc", 0.1, 0.1},
    ParseCase{"", 0.1, 0.1},
    ParseCase{"9999%", 6.0, 6.0}));

TEST(ZoomSelectorTexts, ListsThePresetsAndAPresetZoomOnce)
{
    const QStringList presets{"12.5%", "25%", "50%", "75%", "100%", "125%", "150%", "200%",
                              "250%", "300%"};
    EXPECT_EQ(ZoomSelectorTexts(1.0, 0.1, 6.0, kEnglish), presets);
    EXPECT_EQ(ZoomSelectorTexts(2.5, 0.1, 6.0, kEnglish), presets);
}

struct InsertCase {
    qreal zoom;
    int position;       // index of the inserted entry, -1 for none
    const char* english;
    const char* german;
};

class ZoomSelectorInsertTest : public ::testing::TestWithParam<InsertCase> {};

TEST_P(ZoomSelectorInsertTest, InsertsTheCurrentZoomBeforeTheFirstGreaterPreset)
{
    const InsertCase& c = GetParam();
    const QStringList english = ZoomSelectorTexts(c.zoom, 0.1, 6.0, kEnglish);
    const QStringList german = ZoomSelectorTexts(c.zoom, 0.1, 6.0, kGerman);
    if (c.position < 0) {
        EXPECT_EQ(english.size(), 10);
        return;
    }
    ASSERT_EQ(english.size(), 11);
    EXPECT_EQ(english.at(c.position).toStdString(), c.english);
    EXPECT_EQ(german.at(c.position).toStdString(), c.german);
}

INSTANTIATE_TEST_SUITE_P(Zooms, ZoomSelectorInsertTest, ::testing::Values(
    InsertCase{1.3, 6, "130%", "130%"},
    InsertCase{0.111, 0, "11.1%", "11,1%"},
    InsertCase{0.3333, 2, "33.33%", "33,33%"},
    InsertCase{4.0, 10, "400%", "400%"},   // greater than every preset: last
    InsertCase{0.1, -1, "", ""},           // at the limits: not inserted
    InsertCase{6.0, -1, "", ""},
    InsertCase{0.05, -1, "", ""},
    InsertCase{7.0, -1, "", ""}));

// ---- per-file settings ----

TEST(FileSettings, ValuesSurviveANewInstance)
{
    const QString document = "/a/b.pdf";
    QFile::remove(SettingsFilePath(document));
    {
        FileSettings settings(document);
        settings.setValue("ZoomFactor", 1.75);
        settings.setValue("ShowForms", true);
        settings.setValue("VerticalScrollBarValue", 420);
        settings.setValue("Page", 2.25);
        settings.setValue("Stale", "x");
        settings.remove("Stale");
        settings.sync();
    }
    EXPECT_TRUE(QFileInfo::exists(SettingsFilePath(document)));
    const FileSettings settings(document);
    EXPECT_DOUBLE_EQ(settings.value("ZoomFactor").toReal(), 1.75);
    EXPECT_TRUE(settings.value("ShowForms").toBool());
    EXPECT_EQ(settings.value("VerticalScrollBarValue").toInt(), 420);
    EXPECT_DOUBLE_EQ(settings.value("Page").toReal(), 2.25);
    EXPECT_FALSE(settings.value("Stale").isValid());
    EXPECT_EQ(settings.value("HorizontalScrollBarValue", 7).toInt(), 7);
    EXPECT_FALSE(FileSettings("/a/other.pdf").value("ZoomFactor").isValid());
}

TEST(FileSettings, GarbageFileReadsAsDefaultsAndCanBeWritten)
{
    const QString document = "/broken/garbage.pdf";
    QFile file(SettingsFilePath(document));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    QByteArray garbage("\xff\xfe[[[=\x00\x01ZoomFactor\n=]]\"\\", 20);
    for (int i = 0; i < 4096; ++i)
        garbage.append(char((i * 7919) % 256));
    file.write(garbage);
    file.close();

    {
        FileSettings settings(document);
        EXPECT_DOUBLE_EQ(settings.value("ZoomFactor", 1.0).toReal(), 1.0);
        EXPECT_FALSE(settings.value("Bookmarks").isValid());
        settings.setValue("Page", 3);
        settings.sync();
    }
    EXPECT_EQ(FileSettings(document).value("Page", 0).toInt(), 3);
}

TEST(FileSettings, UncreatableFolderDoesNotCrash)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile blocker(dir.path() + "/cache");   // a file where the folder would go
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QByteArray old = qgetenv("XDG_CACHE_HOME");
    qputenv("XDG_CACHE_HOME", blocker.fileName().toLocal8Bit());
    {
        FileSettings settings("/x.pdf");
        settings.setValue("ZoomFactor", 2.0);
        settings.sync();
        EXPECT_DOUBLE_EQ(FileSettings("/y.pdf").value("ZoomFactor", 1.0).toReal(), 1.0);
        FileSettings::trim(0);
    }
    qputenv("XDG_CACHE_HOME", old);
    EXPECT_TRUE(QFileInfo(blocker.fileName()).isFile());
}

// Four files of 1000 bytes, "f0" the oldest.
QStringList MakeAgedFiles()
{
    RemoveSettingsFiles();
    const QString folder = FileSettings::folder();
    const QDateTime base = QDateTime::currentDateTime().addDays(-10);
    QStringList names;
    for (int i = 0; i < 4; ++i) {
        const QString name = QString("f%1.ini").arg(i);
        QFile file(folder + "/" + name);
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        file.write(QByteArray(1000, 'x'));
        file.flush();   // a later flush would set the time to now
        EXPECT_TRUE(file.setFileTime(base.addSecs(3600 * i), QFileDevice::FileModificationTime));
        file.close();
        names << name;
    }
    return names;
}

struct TrimCase {
    qint64 extraBytes;   // limit = folder entry size + this
    QStringList kept;
};

class FileSettingsTrimTest : public ::testing::TestWithParam<TrimCase> {};

TEST_P(FileSettingsTrimTest, DeletesOldestFilesUntilWithinTheLimit)
{
    MakeAgedFiles();
    const qint64 folderSize = QFileInfo(FileSettings::folder()).size();
    FileSettings::trim(folderSize + GetParam().extraBytes);
    QStringList left = QDir(FileSettings::folder()).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(left, GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(Limits, FileSettingsTrimTest, ::testing::Values(
    TrimCase{4000, {"f0.ini", "f1.ini", "f2.ini", "f3.ini"}},
    TrimCase{3999, {"f1.ini", "f2.ini", "f3.ini"}},
    TrimCase{1000, {"f3.ini"}},
    TrimCase{999, {}},
    TrimCase{-100000, {}}));

TEST(FileSettings, TrimCountsTheFolderEntryItself)
{
    MakeAgedFiles();
    const qint64 folderSize = QFileInfo(FileSettings::folder()).size();
    if (folderSize <= 0)
        GTEST_SKIP() << "the file system gives folders no size";
    // Without the folder's own size the four files would fit exactly.
    FileSettings::trim(4000);
    const qint64 kept = qMax<qint64>(0, (4000 - folderSize) / 1000);
    EXPECT_EQ(QDir(FileSettings::folder()).entryList(QDir::Files).size(), kept);
}

// ---- selector actions ----

TEST(SelectPageAction, ItemsCarryLabelNumberAndCount)
{
    SelectPageAction action;
    action.setPageLabels({"i", "ii", "1"});
    EXPECT_EQ(action.items(), QStringList({"i (1 / 3)", "ii (2 / 3)", "1 (3 / 3)"}));
    EXPECT_EQ(action.currentIndex(), 0);
    action.setPageLabels({});
    EXPECT_TRUE(action.items().isEmpty());
    EXPECT_EQ(action.currentIndex(), -1);
}

struct GoToCase {
    const char* text;
    int page;   // -1: no signal
};

class SelectPageGoToTest : public ::testing::TestWithParam<GoToCase> {};

TEST_P(SelectPageGoToTest, EmitsTheChosenPage)
{
    SelectPageAction action;
    action.setPageLabels({"i", "ii", "1", "2"});
    action.setCurrentPage(3);
    QSignalSpy spy(&action, &SelectPageAction::pageSelected);
    action.slotGoToPage(GetParam().text);
    if (GetParam().page < 0) {
        EXPECT_EQ(spy.count(), 0);
        EXPECT_EQ(action.currentIndex(), 3);
        return;
    }
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), GetParam().page);
    EXPECT_EQ(action.currentIndex(), GetParam().page);
}

INSTANTIATE_TEST_SUITE_P(Texts, SelectPageGoToTest, ::testing::Values(
    GoToCase{"ii (2 / 4)", 1},
    GoToCase{"ii", 1},          // a label
    GoToCase{"2", 3},           // labels come before numbers
    GoToCase{"(3 / 4)", 2},
    GoToCase{"x", -1},
    GoToCase{"9", -1}));

TEST(SelectPageAction, WidgetsFollowTheActionAndReportChoices)
{
    QWidget parent;
    SelectPageAction action;
    action.setPageLabels({"1", "2", "3"});
    auto* first = qobject_cast<QComboBox*>(action.requestWidget(&parent));
    action.setCurrentPage(2);
    auto* second = qobject_cast<QComboBox*>(action.requestWidget(&parent));
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->count(), 3);
    EXPECT_EQ(second->itemText(1), QString("2 (2 / 3)"));
    EXPECT_EQ(first->currentIndex(), 2);
    EXPECT_EQ(second->currentIndex(), 2);

    QSignalSpy spy(&action, &SelectPageAction::pageSelected);
    emit first->activated(0);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 0);
    EXPECT_EQ(second->currentIndex(), 0);

    action.setPageLabels({"a", "b"});
    EXPECT_EQ(second->count(), 2);
    EXPECT_EQ(second->itemText(1), QString("b (2 / 2)"));
}

TEST(SelectPageAction, TypedEntryAndEnterSelectOnce)
{
    QWidget parent;
    SelectPageAction action;
    action.setPageLabels({"1", "2", "3"});
    auto* box = qobject_cast<QComboBox*>(action.requestWidget(&parent));
    ASSERT_TRUE(box && box->isEditable());
    QSignalSpy spy(&action, &SelectPageAction::pageSelected);
    QSignalSpy texts(&action, &SelectAction::triggered);
    // Keys go to the box, which hands them to its line edit, as with a real keyboard.
    box->lineEdit()->selectAll();
    QTest::keyClicks(box, "3 (3 / 3)");
    QTest::keyClick(box, Qt::Key_Return);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 2);
    ASSERT_EQ(texts.count(), 1);
    EXPECT_EQ(texts.at(0).at(0).toString(), QString("3 (3 / 3)"));
    EXPECT_EQ(box->count(), 3);   // typed text is not added
}

TEST(ZoomAction, StartsAtActualSize)
{
    DefaultLocale locale(kEnglish);
    QWidget parent;
    ZoomAction action;
    EXPECT_EQ(action.items().size(), 10);
    auto* box = qobject_cast<QComboBox*>(action.requestWidget(&parent));
    ASSERT_TRUE(box && box->isEditable());
    EXPECT_EQ(box->currentText(), QString("100%"));
}

TEST(ZoomAction, ShownZoomIsInsertedWithoutEmitting)
{
    DefaultLocale locale(kGerman);
    QWidget parent;
    ZoomAction action;
    auto* box = qobject_cast<QComboBox*>(action.requestWidget(&parent));
    QSignalSpy spy(&action, &ZoomAction::zoomFactorAdded);
    action.setZoomFactor(1.125);
    EXPECT_EQ(spy.count(), 0);
    EXPECT_EQ(action.items().at(5), QString("112,5%"));
    EXPECT_EQ(action.currentIndex(), 5);
    EXPECT_EQ(box->currentText(), QString("112,5%"));
    EXPECT_EQ(box->count(), 11);
}

struct ZoomTextCase {
    const char* text;
    qreal zoom;
    const char* shown;
};

class ZoomActionTextTest : public ::testing::TestWithParam<ZoomTextCase> {};

TEST_P(ZoomActionTextTest, ParsesShowsAndEmits)
{
    DefaultLocale locale(kEnglish);
    QWidget parent;
    ZoomAction action;
    auto* box = qobject_cast<QComboBox*>(action.requestWidget(&parent));
    QSignalSpy spy(&action, &ZoomAction::zoomFactorAdded);
    action.setZoomFactor(QString(GetParam().text));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_DOUBLE_EQ(spy.at(0).at(0).toReal(), GetParam().zoom);
    EXPECT_EQ(box->currentText().toStdString(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Texts, ZoomActionTextTest, ::testing::Values(
    ZoomTextCase{"130", 1.3, "130%"},
    ZoomTextCase{"7", 0.1, "10%"},
    ZoomTextCase{"1000", 6.0, "600%"}));

TEST(ZoomAction, LimitsBoundTheTypedZoom)
{
    DefaultLocale locale(kEnglish);
    ZoomAction action;
    action.setMinZoomFactor(0.5);
    action.setMaxZoomFactor(2.0);
    QSignalSpy spy(&action, &ZoomAction::zoomFactorAdded);
    action.setZoomFactor(QString("25%"));
    action.setZoomFactor(QString("300%"));
    ASSERT_EQ(spy.count(), 2);
    EXPECT_DOUBLE_EQ(spy.at(0).at(0).toReal(), 0.5);
    EXPECT_DOUBLE_EQ(spy.at(1).at(0).toReal(), 2.0);
}

TEST(ZoomAction, EnterInTheBoxEmitsOnce)
{
    DefaultLocale locale(kEnglish);
    QWidget parent;
    ZoomAction action;
    auto* box = qobject_cast<QComboBox*>(action.requestWidget(&parent));
    auto* other = qobject_cast<QComboBox*>(action.requestWidget(&parent));
    QSignalSpy spy(&action, &ZoomAction::zoomFactorAdded);
    box->lineEdit()->selectAll();
    QTest::keyClicks(box, "150");
    QTest::keyClick(box, Qt::Key_Return);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_DOUBLE_EQ(spy.at(0).at(0).toReal(), 1.5);
    EXPECT_EQ(box->currentText(), QString("150%"));
    EXPECT_EQ(other->currentText(), QString("150%"));
}

// ---- bookmarks ----

QStringList MenuTexts(const BookmarksHandler& handler)
{
    QStringList texts;
    for (QAction* action : handler.menuAction()->menu()->actions())
        texts << (action->isSeparator() ? QString("--") : action->text());
    return texts;
}

TEST(BookmarksHandler, ToggleAddsAndRemovesTheCurrentPosition)
{
    QWidget parent;
    BookmarksHandler handler(&parent);
    EXPECT_EQ(handler.menuAction()->text(), QString("&Bookmarks"));
    EXPECT_EQ(MenuTexts(handler),
              QStringList({"Set &Bookmark", "&Previous Bookmark", "&Next Bookmark", "--"}));
    QSignalSpy updated(&handler, &BookmarksHandler::bookmarkUpdated);

    handler.setCurrentPosition(2.5);
    handler.toggleBookmark();
    EXPECT_EQ(handler.toggleAction()->text(), QString("Unset &Bookmark"));
    handler.setCurrentPosition(0.25);
    EXPECT_EQ(handler.toggleAction()->text(), QString("Set &Bookmark"));
    handler.toggleAction()->trigger();
    EXPECT_EQ(handler.bookmarks(), QList<qreal>({0.25, 2.5}));
    EXPECT_EQ(MenuTexts(handler), QStringList({"Unset &Bookmark", "&Previous Bookmark",
                                               "&Next Bookmark", "--", "Page 1", "Page 3"}));
    ASSERT_EQ(updated.count(), 2);
    EXPECT_DOUBLE_EQ(updated.at(1).at(0).toReal(), 0.25);

    handler.setCurrentPosition(2.5);
    handler.toggleBookmark();
    EXPECT_EQ(handler.bookmarks(), QList<qreal>({0.25}));
    EXPECT_EQ(handler.toggleAction()->text(), QString("Set &Bookmark"));
    EXPECT_EQ(MenuTexts(handler).last(), QString("Page 1"));

    handler.clear();
    EXPECT_TRUE(handler.bookmarks().isEmpty());
    EXPECT_EQ(MenuTexts(handler).size(), 4);
}

TEST(BookmarksHandler, MenuEntryGoesToItsPosition)
{
    QWidget parent;
    BookmarksHandler handler(&parent);
    handler.setCurrentPosition(4.75);
    handler.toggleBookmark();
    QSignalSpy go(&handler, &BookmarksHandler::goToPosition);
    handler.menuAction()->menu()->actions().last()->trigger();
    ASSERT_EQ(go.count(), 1);
    EXPECT_DOUBLE_EQ(go.at(0).at(0).toReal(), 4.75);
}

struct StepCase {
    qreal current;
    qreal previous;   // -1: none
    qreal next;       // -1: none
};

class BookmarkStepTest : public ::testing::TestWithParam<StepCase> {};

TEST_P(BookmarkStepTest, GoesToTheNearestBookmarkBeforeOrAfter)
{
    QWidget parent;
    BookmarksHandler handler(&parent);
    for (qreal position : {5.0, 1.5, 3.0}) {
        handler.setCurrentPosition(position);
        handler.toggleBookmark();
    }
    handler.setCurrentPosition(GetParam().current);
    QSignalSpy go(&handler, &BookmarksHandler::goToPosition);

    handler.previousAction()->trigger();
    if (GetParam().previous < 0) {
        EXPECT_EQ(go.count(), 0);
    } else {
        ASSERT_EQ(go.count(), 1);
        EXPECT_DOUBLE_EQ(go.takeFirst().at(0).toReal(), GetParam().previous);
    }
    go.clear();
    handler.nextAction()->trigger();
    if (GetParam().next < 0) {
        EXPECT_EQ(go.count(), 0);
    } else {
        ASSERT_EQ(go.count(), 1);
        EXPECT_DOUBLE_EQ(go.takeFirst().at(0).toReal(), GetParam().next);
    }
}

INSTANTIATE_TEST_SUITE_P(Positions, BookmarkStepTest, ::testing::Values(
    StepCase{0.0, -1, 1.5},
    StepCase{1.5, -1, 3.0},
    StepCase{2.0, 1.5, 3.0},
    StepCase{3.0, 1.5, 5.0},
    StepCase{4.99, 3.0, 5.0},
    StepCase{5.0, 3.0, -1},
    StepCase{9.0, 5.0, -1}));

TEST(BookmarksHandler, BookmarksPersistPerDocument)
{
    const QString document = "/docs/marked.pdf";
    QFile::remove(SettingsFilePath(document));
    QWidget parent;
    {
        BookmarksHandler handler(&parent);
        handler.loadBookmarks(document);
        EXPECT_TRUE(handler.bookmarks().isEmpty());
        for (qreal position : {2.125, 0.5}) {
            handler.setCurrentPosition(position);
            handler.toggleBookmark();
        }
        handler.saveBookmarks(document);
    }
    EXPECT_EQ(FileSettings(document).value("Bookmarks").toList().size(), 2);

    BookmarksHandler handler(&parent);
    handler.setCurrentPosition(0.5);
    handler.loadBookmarks(document);
    EXPECT_EQ(handler.bookmarks(), QList<qreal>({0.5, 2.125}));
    EXPECT_EQ(handler.toggleAction()->text(), QString("Unset &Bookmark"));
    EXPECT_EQ(MenuTexts(handler).mid(4), QStringList({"Page 1", "Page 3"}));

    handler.loadBookmarks("/docs/other.pdf");
    EXPECT_TRUE(handler.bookmarks().isEmpty());

    handler.loadBookmarks(document);
    for (qreal position : {0.5, 2.125}) {
        handler.setCurrentPosition(position);
        handler.toggleBookmark();
    }
    handler.saveBookmarks(document);
    EXPECT_FALSE(FileSettings(document).value("Bookmarks").isValid());
    QFile file(SettingsFilePath(document));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_FALSE(file.readAll().contains("Bookmarks"));
}

TEST(BookmarksHandler, BrokenStoredBookmarksAreSkipped)
{
    const QString document = "/docs/broken-marks.pdf";
    {
        FileSettings settings(document);
        settings.setValue("Bookmarks", QStringList({"3.5", "nonsense", "-2", "1"}));
        settings.sync();
    }
    QWidget parent;
    BookmarksHandler handler(&parent);
    handler.loadBookmarks(document);
    EXPECT_EQ(handler.bookmarks(), QList<qreal>({1.0, 3.5}));
}

// ---- links and form fields ----

class PdfFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        const QString script = QStringLiteral(VUEL_SOURCE_DIR "/tests/pdf/make-test-pdf");
        const QString python = QFileInfo::exists("/usr/bin/python3") ? QString("/usr/bin/python3")
                                                                     : QString("python3");
        QProcess process;
        process.start(python, {script, s_dir->filePath("links.pdf")});
        s_made = process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
                 process.exitCode() == 0;
        if (!s_made)
            qWarning("make-test-pdf failed: %s", process.readAllStandardError().constData());

        QPdfWriter writer(s_dir->filePath("plain.pdf"));
        QPainter painter(&writer);
        painter.drawText(QPointF(100, 100), "plain");
        writer.newPage();
        painter.drawText(QPointF(100, 100), "second");
    }

    static void TearDownTestSuite()
    {
        delete s_dir;
        s_dir = nullptr;
    }

    void SetUp() override
    {
        ASSERT_TRUE(s_made);
        m_document.reset(Poppler::Document::load(s_dir->filePath("links.pdf")));
        ASSERT_TRUE(m_document);
        ASSERT_EQ(m_document->numPages(), 3);
        m_page.reset(m_document->page(0));
        ASSERT_TRUE(m_page);
    }

    // A rectangle given in PDF points from the bottom left, on the 612 x 792 page.
    static QPointF Centre(qreal x1, qreal y1, qreal x2, qreal y2)
    {
        return QPointF((x1 + x2) / 2 / 612, 1 - (y1 + y2) / 2 / 792);
    }

    QString FieldText(const QString& name) const
    {
        std::unique_ptr<Poppler::Page> page(m_document->page(0));
        QString text;
        for (Poppler::FormField* field : page->formFields()) {
            if (field->name() == name && field->type() == Poppler::FormField::FormText)
                text = static_cast<Poppler::FormFieldText*>(field)->text();
            delete field;
        }
        return text;
    }

    static QWidget* WidgetFor(const QList<QPair<QWidget*, QRectF>>& widgets, const QString& name,
                              QRectF* rect = nullptr)
    {
        for (const auto& entry : widgets) {
            auto* field = entry.first->property("PageItem::formField").value<Poppler::FormField*>();
            if (field && field->name() == name) {
                if (rect)
                    *rect = entry.second;
                return entry.first;
            }
        }
        return nullptr;
    }

    static QTemporaryDir* s_dir;
    static bool s_made;
    std::unique_ptr<Poppler::Document> m_document;
    std::unique_ptr<Poppler::Page> m_page;
};

QTemporaryDir* PdfFixture::s_dir = nullptr;
bool PdfFixture::s_made = false;

TEST_F(PdfFixture, LinksAreFoundByTheirNormalisedAreas)
{
    PageItem item(m_page.get());
    const QString browse = PageItem::toolTipFor(item.linkAt(Centre(72, 700, 272, 740)));
    EXPECT_EQ(browse, QString("Go to https://example.org/vuel"));
    EXPECT_EQ(PageItem::toolTipFor(item.linkAt(Centre(72, 600, 272, 640))),
              QString("Go to page 3"));
    EXPECT_EQ(PageItem::toolTipFor(item.linkAt(Centre(72, 500, 272, 540))),
              QString("Go to next page"));
    EXPECT_EQ(item.linkAt(Centre(72, 645, 272, 695)), nullptr);
    EXPECT_EQ(item.linkAt(QPointF(0.9, 0.9)), nullptr);
    EXPECT_EQ(item.linkAt(QPointF(-1, 5)), nullptr);
    EXPECT_EQ(PageItem::toolTipFor(nullptr), QString());
}

TEST_F(PdfFixture, PlainPagesHaveNoLinksOrFields)
{
    std::unique_ptr<Poppler::Document> plain(
        Poppler::Document::load(s_dir->filePath("plain.pdf")));
    ASSERT_TRUE(plain);
    ASSERT_EQ(plain->numPages(), 2);
    std::unique_ptr<Poppler::Page> page(plain->page(1));
    PageItem item(page.get());
    for (qreal y = 0.05; y < 1; y += 0.1)
        EXPECT_EQ(item.linkAt(QPointF(0.5, y)), nullptr);
    EXPECT_TRUE(item.createFormWidgets().isEmpty());
}

TEST(PageItem, NoPageIsHarmless)
{
    QTemporaryDir dir;
    QFile broken(dir.filePath("broken.pdf"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 9 0 R >>\ngarbage");
    broken.close();
    std::unique_ptr<Poppler::Document> document(Poppler::Document::load(broken.fileName()));
    std::unique_ptr<Poppler::Page> page(document ? document->page(0) : nullptr);
    PageItem item(page.get());
    EXPECT_EQ(item.linkAt(QPointF(0.5, 0.5)), nullptr);
    EXPECT_TRUE(item.createFormWidgets().isEmpty());
    item.slotSetFormData(QString("no sender"));
    item.slotSetFormData(true);
    item.slotSetFormData(1);
    item.slotSetFormData();
}

TEST(PageItem, BrowseLinkWithoutUrlHasNoToolTip)
{
    const Poppler::LinkBrowse empty(QRectF(0, 0, 1, 1), QString());
    EXPECT_EQ(PageItem::toolTipFor(&empty), QString());
    const Poppler::LinkBrowse mail(QRectF(0, 0, 1, 1), "mailto:a@b.c");
    EXPECT_EQ(PageItem::toolTipFor(&mail), QString("Go to mailto:a@b.c"));
}

TEST_F(PdfFixture, FormFieldsBecomeWidgetsShowingTheirValues)
{
    PageItem item(m_page.get());
    const auto widgets = item.createFormWidgets();
    EXPECT_EQ(widgets.size(), 5);
    QRectF rect;
    auto* name = qobject_cast<QLineEdit*>(WidgetFor(widgets, "name", &rect));
    ASSERT_TRUE(name);
    EXPECT_EQ(name->text(), QString("Alice"));
    EXPECT_TRUE(name->isEnabled());
    EXPECT_NEAR(rect.left(), 300.0 / 612, 1e-3);
    EXPECT_NEAR(rect.top(), 62.0 / 792, 1e-3);
    EXPECT_NEAR(rect.width(), 200.0 / 612, 1e-3);
    EXPECT_NEAR(rect.height(), 30.0 / 792, 1e-3);

    auto* notes = qobject_cast<QTextEdit*>(WidgetFor(widgets, "notes"));
    ASSERT_TRUE(notes);
    EXPECT_EQ(notes->toPlainText(), QString("one\ntwo"));
    auto* agree = qobject_cast<QCheckBox*>(WidgetFor(widgets, "agree"));
    ASSERT_TRUE(agree);
    EXPECT_FALSE(agree->isChecked());
    auto* colour = qobject_cast<QComboBox*>(WidgetFor(widgets, "colour"));
    ASSERT_TRUE(colour);
    EXPECT_EQ(colour->count(), 3);
    EXPECT_EQ(colour->currentText(), QString("green"));
    auto* fixed = qobject_cast<QLineEdit*>(WidgetFor(widgets, "fixed"));
    ASSERT_TRUE(fixed);
    EXPECT_FALSE(fixed->isEnabled());
    for (const auto& entry : widgets)
        delete entry.first;
}

TEST_F(PdfFixture, EditedWidgetsWriteIntoTheFields)
{
    PageItem item(m_page.get());
    const auto widgets = item.createFormWidgets();
    auto* name = qobject_cast<QLineEdit*>(WidgetFor(widgets, "name"));
    auto* notes = qobject_cast<QTextEdit*>(WidgetFor(widgets, "notes"));
    auto* agree = qobject_cast<QCheckBox*>(WidgetFor(widgets, "agree"));
    auto* colour = qobject_cast<QComboBox*>(WidgetFor(widgets, "colour"));
    ASSERT_TRUE(name && notes && agree && colour);

    name->end(false);
    QTest::keyClicks(name, " Smith");
    notes->setPlainText("three\nfour");
    agree->setChecked(true);
    colour->setCurrentIndex(2);

    EXPECT_EQ(FieldText("name"), QString("Alice Smith"));
    EXPECT_EQ(FieldText("notes"), QString("three\nfour"));
    std::unique_ptr<Poppler::Page> page(m_document->page(0));
    bool checked = false;
    QList<int> choices;
    for (Poppler::FormField* field : page->formFields()) {
        if (field->name() == "agree")
            checked = static_cast<Poppler::FormFieldButton*>(field)->state();
        if (field->name() == "colour")
            choices = static_cast<Poppler::FormFieldChoice*>(field)->currentChoices();
        delete field;
    }
    EXPECT_TRUE(checked);
    EXPECT_EQ(choices, QList<int>({2}));

    // A program-set text does not count as an edit of a single-line field.
    name->setText("ignored");
    EXPECT_EQ(FieldText("name"), QString("Alice Smith"));
    for (const auto& entry : widgets)
        delete entry.first;
}

TEST_F(PdfFixture, WidgetsOutlivingTheirPageItemAreInert)
{
    QList<QPair<QWidget*, QRectF>> widgets;
    {
        PageItem item(m_page.get());
        widgets = item.createFormWidgets();
    }
    ASSERT_FALSE(widgets.isEmpty());
    // The fields went with the item, so the first widget ("name") is taken by its place.
    auto* name = qobject_cast<QLineEdit*>(widgets.first().first);
    ASSERT_TRUE(name);
    QTest::keyClicks(name, "x");
    EXPECT_EQ(FieldText("name"), QString("Alice"));
    for (const auto& entry : widgets)
        delete entry.first;
}

} // namespace

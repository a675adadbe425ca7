#include "pdf/actionhandler.h"
#include "pdf/filesettings.h"
#include "pdf/pagegeometry.h"
#include "pdf/pdflayout.h"
#include "pdf/pdfview.h"
#include "pdf/selectpageaction.h"
#include "pdf/zoomaction.h"
#include "testpdfs.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopWidget>
#include <QDir>
#include <QFileInfo>
#include <QGraphicsPixmapItem>
#include <QGraphicsProxyWidget>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Generous: the waits end as soon as their condition holds, this only keeps a broken run finite.
bool WaitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, 120000); }

// Opens `path` in the view and waits for the outcome: true once it is shown with every page read.
bool Open(PdfView& view, const QString& path)
{
    QSignalSpy shown(&view, &PdfView::documentChanged);
    QSignalSpy failed(&view, &PdfView::loadFailed);
    view.load(path);
    const auto whole = [&] { return !shown.isEmpty() && view.pageLabels().size() == view.pageCount(); };
    return WaitFor([&] { return whole() || !failed.isEmpty(); }) && whole();
}

struct Documents {
    QTemporaryDir dir;
    QString a4 = WritePdf(dir.filePath("a4.pdf"), QVector<QSizeF>(10, QSizeF(595, 842)));
    QString mixed = WritePdf(dir.filePath("mixed.pdf"), {{595, 842}, {842, 595}, {300, 400}, {612, 792}});
    QString long2000 = WritePdf(dir.filePath("long.pdf"), QVector<QSizeF>(2000, QSizeF(300, 200)));
    QString huge = WritePdf(dir.filePath("huge.pdf"), {QSizeF(10000, 10000)});
    QString links = WriteLinksAndFormsPdf(dir.filePath("links.pdf"));
};

Documents& Docs()
{
    static Documents documents;
    return documents;
}

qreal ScaleX(qreal zoom = 1) { return QApplication::desktop()->physicalDpiX() * zoom / 72.0; }
qreal ScaleY() { return QApplication::desktop()->physicalDpiY() / 72.0; }

// Items of the scene of one kind, by the view's tag (page pictures: data 1, page outlines: data 0;
// -1: all); the magnifier's picture is an untagged pixmap.
template <typename Item>
QMap<int, Item*> Items(const PdfView& view, int tag)
{
    QMap<int, Item*> found;
    for (QGraphicsItem* item : view.scene()->items()) {
        auto* typed = qgraphicsitem_cast<Item*>(item);
        if (typed && (tag < 0 || typed->data(tag).isValid()))
            found.insert(tag < 0 ? found.size() : typed->data(tag).toInt(), typed);
    }
    return found;
}

QMap<int, QGraphicsPixmapItem*> Pictures(const PdfView& view) { return Items<QGraphicsPixmapItem>(view, 1); }
QRectF PageRect(const PdfView& view, int page) { return Items<QGraphicsRectItem>(view, 0).value(page)->rect(); }
bool HasPicture(const PdfView& view, int page) { return Pictures(view).contains(page); }

int Highlights(const PdfView& view)
{
    const QMap<int, QGraphicsRectItem*> rects = Items<QGraphicsRectItem>(view, -1);
    return std::count_if(rects.begin(), rects.end(),
                         [](auto* rect) { return rect->brush().color() == QColor(100, 160, 255, 100); });
}

QGraphicsPixmapItem* Magnified(const PdfView& view)
{
    for (QGraphicsPixmapItem* picture : Items<QGraphicsPixmapItem>(view, -1)) {
        if (!picture->data(1).isValid() && picture->isVisible() && !picture->pixmap().isNull())
            return picture;
    }
    return nullptr;
}

void SendMouse(PdfView& view, QEvent::Type type, const QPoint& pos, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
               Qt::MouseButtons buttons = Qt::LeftButton)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, view.viewport()->mapToGlobal(pos), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : buttons, modifiers);
    QApplication::sendEvent(view.viewport(), &event);
}

void Drag(PdfView& view, const QPoint& from, const QPoint& to)
{
    for (const auto& step :
         {qMakePair(QEvent::MouseButtonPress, from), {QEvent::MouseMove, to}, {QEvent::MouseButtonRelease, to}})
        SendMouse(view, step.first, step.second);
}

// In view coordinates: a point given in PDF points from the page's top-left corner, at zoom 1.
QPoint OnPage(const PdfView& view, int page, const QPointF& points)
{
    return view.mapFromScene(PageRect(view, page).topLeft() + QPointF(points.x() * ScaleX(), points.y() * ScaleY()));
}

// Picks the entry of the next popup menu as a user would, with the keyboard; notes the entries.
void ChooseInNextMenu(const QString& entry, QStringList* seen)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, entry, seen] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        timer->deleteLater();
        timer->stop();
        seen->clear();
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator())
                seen->append(action->text());
            if (action->text() == entry)
                menu->setActiveAction(action);
        }
        QTest::keyClick(menu, Qt::Key_Return);
    });
    timer->start(10);
}

class PdfViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Docs();
        QDir(FileSettings::folder()).removeRecursively();
        view = std::make_unique<PdfView>();
        actions = new ActionHandler(view.get());
        view->resize(600, 400);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    void TearDown() override
    {
        view.reset();
        QDir(FileSettings::folder()).removeRecursively();
    }

    static void settle() { QTest::qWait(0); } // lets the zero-interval scroll tracking run
    QScrollBar* vertical() const { return view->verticalScrollBar(); }
    QAction* action(ActionHandler::Action id) const { return actions->action(id); }

    std::unique_ptr<PdfView> view;
    ActionHandler* actions = nullptr;
};

// The first pages show at once, the rest assumed of their size, then laid out by every page.
TEST_F(PdfViewTest, PagesShowFromTheFirstOnesAreLaidOutByEveryPageAndVisibleOnesGetTheirPicture)
{
    QVector<QSizeF> sizes(40, QSizeF(300, 200));
    sizes[30] = QSizeF(600, 800); // not among the first pages
    const QString path = WritePdf(Docs().dir.filePath("late-size.pdf"), sizes);
    QList<QPair<int, int>> shown; // page count and labels at each announcement
    QObject::connect(view.get(), &PdfView::documentChanged, [&] {
        shown.append({view->pageCount(), view->pageLabels().size()});
    });
    view->load(path);
    ASSERT_TRUE(WaitFor([&] { return shown.size() == 2; }));
    EXPECT_EQ(shown.first(), qMakePair(40, 0));
    EXPECT_EQ(shown.last(), qMakePair(40, 40));
    EXPECT_EQ(view->pageLabels().mid(28, 3), QStringList({"29", "30", "31"}));
    EXPECT_EQ(view->pageNumber(), 0);
    const PageGeometry geometry(sizes, ScaleX(), ScaleY());
    EXPECT_EQ(PageRect(*view, 30), geometry.pageRect(30));
    EXPECT_EQ(view->sceneRect(), geometry.sceneRect());
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 0); }));
    const QGraphicsPixmapItem* picture = Pictures(*view)[0];
    EXPECT_EQ(picture->pos(), PageRect(*view, 0).topLeft());
    EXPECT_NEAR(picture->boundingRect().width(), PageRect(*view, 0).width(), 1.5);
    EXPECT_NEAR(picture->boundingRect().height(), PageRect(*view, 0).height(), 1.5);
    EXPECT_DOUBLE_EQ(picture->pixmap().devicePixelRatioF(), view->devicePixelRatioF());

    view->close();
    EXPECT_EQ(view->pageCount(), 0);
    EXPECT_TRUE(view->fileName().isEmpty());
    EXPECT_TRUE(view->scene()->items().isEmpty());
    EXPECT_EQ(view->pageNumber(), -1);
}

TEST_F(PdfViewTest, FarPicturesAreReleasedWhileScrollingALongDocument)
{
    ASSERT_TRUE(Open(*view, Docs().long2000));
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 0); }));
    for (int target : {40, 300, 301, 900, 1999}) {
        view->setPage(target);
        ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, target); })) << target;
        settle();
        const QList<int> pages = Pictures(*view).keys();
        EXPECT_TRUE(pages.contains(0)) << "page 0 is never released";
        for (int page : pages) {
            EXPECT_TRUE(page == 0 || qAbs(page - target - 1) <= 3 + PictureKeepDistance)
                << "picture of page " << page << " kept while at " << target;
        }
    }
    for (int value = vertical()->maximum(); value > 0; value -= vertical()->maximum() / 7) {
        vertical()->setValue(value); // as a user drags the bar
        settle();
    }
    EXPECT_LE(Pictures(*view).size(), 1 + 2 * PictureKeepDistance + 8);
}

TEST_F(PdfViewTest, SettingsAreRestoredOnReopeningAndTrimmedToTheLimit)
{
    const QString path = Docs().dir.filePath("reopen.pdf");
    QFile::remove(path);
    QFile::copy(Docs().a4, path);
    ASSERT_TRUE(Open(*view, path));
    view->setZoomFactor(1.5);
    view->setPage(3.5);
    QSignalSpy reopened(view.get(), &PdfView::documentChanged);
    action(ActionHandler::ShowForms)->setChecked(true); // reloads at the same place
    ASSERT_TRUE(WaitFor([&] { return reopened.size() == 2; }));
    EXPECT_NEAR(view->pageNumber(), 3.5, 0.01);
    const int value = vertical()->value();
    view->close();
    action(ActionHandler::ShowForms)->setChecked(false); // no document: only the flag
    view->setZoomFactor(1.0);
    ASSERT_TRUE(Open(*view, path));
    EXPECT_DOUBLE_EQ(view->zoomFactor(), 1.5);
    EXPECT_EQ(vertical()->value(), value);
    EXPECT_TRUE(action(ActionHandler::ShowForms)->isChecked()) << "the stored flag wins on load";

    PdfView other; // another view reads the same file; with no room, it removes it on closing
    other.setMaximumFileSettingsCacheSize(0);
    ASSERT_TRUE(Open(other, path));
    EXPECT_DOUBLE_EQ(other.zoomFactor(), 1.5);
    other.close();
    EXPECT_FALSE(QFileInfo::exists(FileSettings::folder() + "/" + FileSettings::fileNameFor(path)));
}

TEST_F(PdfViewTest, BrokenMissingAndLockedFilesAreRefusedAndLeaveTheViewAsItWas)
{
    const QByteArray whole = ReadFile(Docs().mixed);
    const QByteArray garbage = QByteArray::fromHex("00ff7f3c2f5b").repeated(800);
    QStringList paths;
    for (const QByteArray& bytes :
         {garbage, whole.left(whole.size() / 3), QByteArray("%PDF-1.4\n1 0 obj\n<<"), QByteArray()}) {
        paths << Docs().dir.filePath(QString("broken%1.pdf").arg(paths.size()));
        WriteFile(paths.last(), bytes);
    }
    paths << Docs().dir.filePath("no-such.pdf") << Docs().dir.filePath("locked.pdf");
    EXPECT_EQ(QProcess::execute("qpdf", {"--encrypt", "user", "owner", "256", "--", Docs().mixed, paths.last()}), 0);
    for (const QString& path : paths) {
        view->close();
        EXPECT_FALSE(Open(*view, path)) << qPrintable(path);
        EXPECT_EQ(view->pageCount(), 0);
        ASSERT_TRUE(Open(*view, Docs().mixed));
        EXPECT_FALSE(Open(*view, path));
        EXPECT_EQ(view->fileName(), Docs().mixed);
    }
}

TEST_F(PdfViewTest, WheelKeysAndNavigationMoveThroughTheDocument)
{
    ASSERT_TRUE(Open(*view, Docs().a4));
    vertical()->setValue(1000);
    const QList<std::tuple<int, Qt::KeyboardModifiers, int, qreal>> wheels{
        {120, Qt::NoModifier, 1000 - 3 * vertical()->singleStep(), 1.0},
        {-240, Qt::NoModifier, 1000 + 3 * vertical()->singleStep(), 1.0},
        {120, Qt::ControlModifier, -1, 1.2},
        {-120, Qt::ControlModifier, -1, 1.0}};
    for (const auto& [delta, modifiers, value, zoom] : wheels) {
        QWheelEvent wheel(QPointF(100, 100), QPointF(100, 100), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(view->viewport(), &wheel);
        EXPECT_TRUE(value < 0 || vertical()->value() == value) << delta;
        EXPECT_NEAR(view->zoomFactor(), zoom, 1e-9) << delta;
    }
    const QVector<qreal> offsets = PageOffsets(QVector<QSizeF>(10, QSizeF(595, 842)));
    QSignalSpy tracked(view.get(), &PdfView::scrollPositionChanged);
    vertical()->setValue(int((offsets[6] - 5) * ScaleY()) + 3);
    vertical()->setValue(int((offsets[7] - 5) * ScaleY()) + 3);
    settle();
    EXPECT_EQ(tracked.count(), 1) << "a burst of scrolling is followed once";
    EXPECT_EQ(tracked.value(0).value(1).toInt(), 7);
    vertical()->setValue(0);
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Space, Qt::Key_Backspace})
        QTest::keyClick(view.get(), key);
    EXPECT_EQ(vertical()->value(), vertical()->pageStep());
}

TEST_F(PdfViewTest, ActionsDriveTheViewAndFollowIt)
{
    const QList<QAction*> documentActions{action(ActionHandler::GoToEndOfDocument), action(ActionHandler::GoToPage),
                                          action(ActionHandler::SetBookmark)};
    auto enabled = [&] {
        return std::count_if(documentActions.begin(), documentActions.end(), [](QAction* a) { return a->isEnabled(); });
    };
    EXPECT_EQ(enabled(), 0);
    ASSERT_TRUE(Open(*view, Docs().a4));
    EXPECT_EQ(enabled(), 3);
    const struct {
        ActionHandler::Action id;
        qreal zoom;
        int page;
        bool atEnd;
    } steps[] = {{ActionHandler::GoToPreviousPage, 1.0, 0, false}, // nothing before the first page
                 {ActionHandler::ZoomIn, 1.2, 0, false},
                 {ActionHandler::ZoomOut, 1.0, 0, false},
                 {ActionHandler::GoToNextPage, 1.0, 1, false},
                 {ActionHandler::GoToEndOfDocument, 1.0, 9, true},
                 {ActionHandler::GoToNextPage, 1.0, 9, true}, // nothing after the last
                 {ActionHandler::ZoomOut, 0.9, 9, true},      // at the end, zooming keeps the end
                 {ActionHandler::GoToStartOfDocument, 0.9, 0, false}};
    for (const auto& step : steps) {
        action(step.id)->trigger();
        settle();
        EXPECT_NEAR(view->zoomFactor(), step.zoom, 1e-9) << step.id;
        EXPECT_EQ(int(view->pageNumber()), step.page) << step.id;
        EXPECT_EQ(vertical()->value() == vertical()->maximum(), step.atEnd) << step.id;
    }
    auto* zoom = qobject_cast<ZoomAction*>(action(ActionHandler::Zoom));
    auto* pages = qobject_cast<SelectPageAction*>(action(ActionHandler::GoToPage));
    ASSERT_TRUE(zoom && pages);
    zoom->setZoomFactor(QString("250%"));
    EXPECT_NEAR(view->zoomFactor(), 2.5, 1e-9);
    view->setZoomFactor(0.5);
    EXPECT_NEAR(zoom->zoomFactor(), 0.5, 1e-9);
    EXPECT_EQ(pages->items().size(), 10);
    emit pages->pageSelected(6);
    EXPECT_EQ(int(view->pageNumber()), 6);
    view->slotGoToNextPage();
    EXPECT_EQ(pages->currentIndex(), 7);
    action(ActionHandler::SetBookmark)->trigger();
    view->setPage(2);
    action(ActionHandler::NextBookmark)->trigger();
    EXPECT_EQ(int(view->pageNumber()), 7);
    action(ActionHandler::MouseToolBrowse)->trigger();
    EXPECT_EQ(view->mouseTool(), PdfView::Browsing);
    view->setMouseTool(PdfView::Selection);
    EXPECT_TRUE(action(ActionHandler::MouseToolSelection)->isChecked());
    EXPECT_FALSE(action(ActionHandler::MouseToolBrowse)->isChecked());
    view->close();
    EXPECT_EQ(enabled(), 0);
}

TEST_F(PdfViewTest, MouseToolsSelectTextAreasAndMagnify)
{
    ASSERT_TRUE(Open(*view, Docs().a4));
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 0); }));
    const QPoint start = OnPage(*view, 0, QPointF(10, 20));
    const QPoint end = OnPage(*view, 0, QPointF(250, 45));
    view->setMouseTool(PdfView::TextSelection);
    SendMouse(*view, QEvent::MouseButtonPress, start);
    SendMouse(*view, QEvent::MouseMove, end);
    EXPECT_GE(Highlights(*view), 4) << "Page 1 alpha beta gamma";
    QTest::keyClick(view.get(), Qt::Key_Escape);
    EXPECT_EQ(Highlights(*view), 0);
    SendMouse(*view, QEvent::MouseButtonRelease, end, Qt::ControlModifier); // ends without the menu
    QStringList entries;
    ChooseInNextMenu("Copy &Text to Clipboard", &entries);
    Drag(*view, start, end);
    EXPECT_EQ(entries, QStringList({"Copy &Text to Clipboard", "&Cancel"}));
    EXPECT_EQ(QApplication::clipboard()->text(), "Page 1 alpha beta gamma");
    EXPECT_EQ(Highlights(*view), 0);

    view->setMouseTool(PdfView::Selection);
    const QPoint below = OnPage(*view, 0, QPointF(300, 80));
    ChooseInNextMenu("Copy &Text to Clipboard", &entries);
    Drag(*view, start, below);
    EXPECT_EQ(entries.size(), 4);
    EXPECT_TRUE(QApplication::clipboard()->text().contains("alpha beta gamma\ndelta epsilon zeta"));
    ChooseInNextMenu("Copy &Image to Clipboard", &entries);
    Drag(*view, start, below);
    const QImage image = QApplication::clipboard()->image();
    EXPECT_NEAR(image.width(), below.x() - start.x(), 2);
    EXPECT_NEAR(image.height(), below.y() - start.y(), 2);
    EXPECT_EQ(QColor(image.pixel(1, 1)), QColor(Qt::white)) << "text on white: the blue box lies below";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    view->setMouseTool(PdfView::Magnifying); // the page twice as large around the pressed mouse
    const QPoint corner = view->mapFromScene(PageRect(*view, 0).topLeft() + QPointF(2, 2));
    SendMouse(*view, QEvent::MouseButtonPress, end);
    ASSERT_TRUE(WaitFor([&] { return Magnified(*view) != nullptr; }));
    EXPECT_EQ(Magnified(*view)->pixmap().size(), QSize(MagnifierWidth, MagnifierHeight));
    EXPECT_EQ(Magnified(*view)->offset(), view->mapToScene(end) - QPointF(200, 100));
    SendMouse(*view, QEvent::MouseMove, corner); // only the page's part is drawn there
    ASSERT_TRUE(WaitFor([&] { return Magnified(*view)->pixmap().width() < MagnifierWidth; }));
    const QPointF offset = 2 * PageRect(*view, 0).topLeft() - view->mapToScene(corner);
    EXPECT_LT((Magnified(*view)->offset() - offset).manhattanLength(), 3);
    SendMouse(*view, QEvent::MouseButtonRelease, corner);
    EXPECT_EQ(Magnified(*view), nullptr);
}

TEST_F(PdfViewTest, HugePageIsCappedAndClosingOrDestroyingWhileRenderingIsSafe)
{
    view->setZoomFactor(2.0);
    ASSERT_TRUE(Open(*view, Docs().huge));
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 0); }));
    const QPixmap pixmap = Pictures(*view)[0]->pixmap();
    EXPECT_LE(qMax(pixmap.width(), pixmap.height()), MaxPictureSide);
    EXPECT_LE(qint64(pixmap.width()) * pixmap.height() * 4, MaxPictureBytes);
    EXPECT_NEAR(Pictures(*view)[0]->boundingRect().width() / PageRect(*view, 0).width(), 1, 0.01);
    view->setZoomFactor(3.0);
    view->close();
    ASSERT_TRUE(Open(*view, Docs().mixed));
    view->close();
    QTest::qWait(200);
    EXPECT_TRUE(Pictures(*view).isEmpty());
    ASSERT_TRUE(Open(*view, Docs().huge));
    view.reset();
}

TEST_F(PdfViewTest, FormFieldsShowOverTheirPageWhenAskedForAndALinkGoesToItsPage)
{
    auto fields = [&](const QPointF& nameTopLeft) { // how many are shown, and whether "name" is in place
        const QMap<int, QGraphicsProxyWidget*> proxies = Items<QGraphicsProxyWidget>(*view, -1);
        return qMakePair(proxies.size(), std::any_of(proxies.begin(), proxies.end(), [&](QGraphicsProxyWidget* p) {
                             return (p->geometry().topLeft() - nameTopLeft).manhattanLength() < 2;
                         }));
    };
    ASSERT_TRUE(Open(*view, Docs().links));
    const QPointF nameField = PageRect(*view, 0).topLeft() + QPointF(150 * ScaleX(), 20 * ScaleY());
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 0); }));
    EXPECT_EQ(fields(nameField).first, 0);
    view->slotToggleShowForms(true);
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 0); }));
    EXPECT_EQ(fields(nameField), qMakePair(5, true));
    view->setZoomFactor(1.5); // a new layout places them again, once
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 0); }));
    for (int page : Pictures(*view).keys()) // drawn anew at the new scale
        EXPECT_NEAR(Pictures(*view)[page]->boundingRect().width(), PageRect(*view, page).width(), 1.5) << page;
    EXPECT_EQ(fields(nameField * 1.5), qMakePair(5, true));
    view->slotToggleShowForms(false);
    EXPECT_EQ(fields(nameField).first, 0);

    view->setZoomFactor(1.0); // where OnPage measures
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 0); }));
    const QPoint link = OnPage(*view, 0, QPointF(55, 30));
    SendMouse(*view, QEvent::MouseMove, link, Qt::NoModifier, Qt::NoButton);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
    SendMouse(*view, QEvent::MouseMove, OnPage(*view, 0, QPointF(250, 150)), Qt::NoModifier, Qt::NoButton);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    SendMouse(*view, QEvent::MouseButtonPress, link);
    SendMouse(*view, QEvent::MouseButtonRelease, link);
    settle();
    EXPECT_EQ(int(view->pageNumber()), 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

} // namespace

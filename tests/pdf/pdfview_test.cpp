#include "pdf/actionhandler.h"
#include "pdf/filesettings.h"
#include "pdf/pagerenderer.h"
#include "pdf/pdflayout.h"
#include "pdf/pdfview.h"
#include "pdf/selectpageaction.h"
#include "pdf/zoomaction.h"

#include <QAction>
#include <QClipboard>
#include <QMenu>
#include <QTimer>
#include <QApplication>
#include <QDesktopWidget>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsPixmapItem>
#include <QGraphicsProxyWidget>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

// Generous: the waits end as soon as their condition holds, this only keeps a broken run finite.
constexpr int WaitLimit = 120000;

bool WaitFor(const std::function<bool()>& condition)
{
    return QTest::qWaitFor(condition, WaitLimit);
}

void WritePdf(const QString& path, const QVector<QSizeF>& sizes)
{
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setPageSize(QPageSize(sizes.first(), QPageSize::Point, QString(), QPageSize::ExactMatch));
    QPainter painter(&writer);
    QFont font = painter.font();
    font.setPixelSize(14);
    painter.setFont(font);
    for (int i = 0; i < sizes.size(); ++i) {
        if (i > 0) {
            writer.setPageSize(QPageSize(sizes.at(i), QPageSize::Point, QString(), QPageSize::ExactMatch));
            writer.newPage();
        }
        painter.drawText(QPointF(20, 40), QString("Page %1 alpha beta gamma").arg(i + 1));
        painter.drawText(QPointF(20, 70), QString("delta epsilon zeta"));
        painter.fillRect(QRectF(20, 90, 60, 30), Qt::blue);
    }
}

// A hand-made document with what QPdfWriter cannot write: a link to page 2 and a text field.
QByteArray BuildPdf(const QList<QByteArray>& objects)
{
    QByteArray out = "%PDF-1.4\n";
    QList<int> offsets;
    for (int i = 0; i < objects.size(); ++i) {
        offsets.append(out.size());
        out += QByteArray::number(i + 1) + " 0 obj\n" + objects.at(i) + "\nendobj\n";
    }
    const int xref = out.size();
    out += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (int offset : offsets)
        out += QString("%1 00000 n \n").arg(offset, 10, 10, QChar('0')).toLatin1();
    out += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n"
        + QByteArray::number(xref) + "\n%%EOF\n";
    return out;
}

QString WriteLinkAndFormPdf(const QString& path)
{
    const QByteArray pdf = BuildPdf({
        "<< /Type /Catalog /Pages 2 0 R /AcroForm << /Fields [6 0 R] /DA (/Helv 12 Tf 0 g) >> >>",
        "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 300] /Annots [5 0 R 6 0 R] >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 300] >>",
        "<< /Type /Annot /Subtype /Link /Rect [10 200 110 250] /Border [0 0 0] /Dest [4 0 R /XYZ 0 300 0] >>",
        "<< /Type /Annot /Subtype /Widget /FT /Tx /T (name) /V (hello) /Rect [10 50 200 80] /P 3 0 R /F 4"
        " /DA (/Helv 12 Tf 0 g) >>",
    });
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(pdf);
    return path;
}

struct Documents {
    QTemporaryDir dir;
    QString a4;        // 10 A4 pages
    QString mixed;     // 4 pages of different sizes
    QString long2000;  // 2000 small pages
    QString huge;      // one 10000 x 10000 pt page
    QString linkAndForm;   // two 300 x 300 pt pages
    QVector<QSizeF> mixedSizes{{595, 842}, {842, 595}, {300, 400}, {612, 792}};

    Documents()
    {
        a4 = dir.filePath("a4.pdf");
        WritePdf(a4, QVector<QSizeF>(10, QSizeF(595, 842)));
        mixed = dir.filePath("mixed.pdf");
        WritePdf(mixed, mixedSizes);
        long2000 = dir.filePath("long.pdf");
        WritePdf(long2000, QVector<QSizeF>(2000, QSizeF(300, 200)));
        huge = dir.filePath("huge.pdf");
        WritePdf(huge, {QSizeF(10000, 10000)});
        linkAndForm = WriteLinkAndFormPdf(dir.filePath("linkform.pdf"));
    }
};

Documents& Docs()
{
    static Documents documents;
    return documents;
}

qreal ScaleX(qreal zoom)
{
    return QApplication::desktop()->physicalDpiX() * zoom / 72.0;
}

qreal ScaleY(qreal zoom)
{
    return QApplication::desktop()->physicalDpiY() * zoom / 72.0;
}

QMap<int, QGraphicsPixmapItem*> Pictures(const PdfView& view)
{
    QMap<int, QGraphicsPixmapItem*> pictures;
    for (QGraphicsItem* item : view.scene()->items()) {
        auto* picture = qgraphicsitem_cast<QGraphicsPixmapItem*>(item);
        if (picture && picture->data(1).isValid())
            pictures.insert(picture->data(1).toInt(), picture);
    }
    return pictures;
}

QMap<int, QGraphicsRectItem*> Outlines(const PdfView& view)
{
    QMap<int, QGraphicsRectItem*> outlines;
    for (QGraphicsItem* item : view.scene()->items()) {
        auto* rect = qgraphicsitem_cast<QGraphicsRectItem*>(item);
        if (rect && rect->data(0).isValid())
            outlines.insert(rect->data(0).toInt(), rect);
    }
    return outlines;
}

QList<QGraphicsRectItem*> Highlights(const PdfView& view)
{
    QList<QGraphicsRectItem*> highlights;
    for (QGraphicsItem* item : view.scene()->items()) {
        auto* rect = qgraphicsitem_cast<QGraphicsRectItem*>(item);
        if (rect && rect->brush().color() == QColor(100, 160, 255, 100))
            highlights.append(rect);
    }
    return highlights;
}

bool HasPicture(const PdfView& view, int page)
{
    return Pictures(view).contains(page);
}

class PdfViewTest : public ::testing::Test {
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

    // Lets the zero-interval scroll tracking run.
    static void settle() { QTest::qWait(0); QCoreApplication::processEvents(); }

    QString copyOf(const QString& path, const QString& name)
    {
        const QString target = Docs().dir.filePath(name);
        QFile::remove(target);
        QFile::copy(path, target);
        return target;
    }

    QScrollBar* vertical() const { return view->verticalScrollBar(); }

    std::unique_ptr<PdfView> view;
    ActionHandler* actions = nullptr;
};

TEST_F(PdfViewTest, LoadReportsPagesLabelsAndFileName)
{
    ASSERT_TRUE(view->load(Docs().mixed));
    EXPECT_EQ(view->pageCount(), 4);
    EXPECT_EQ(view->fileName(), Docs().mixed);
    EXPECT_EQ(view->pageLabels(), QStringList({"1", "2", "3", "4"}));
    EXPECT_EQ(view->pageNumber(), 0);
}

TEST_F(PdfViewTest, CloseForgetsTheDocumentAndItsPictures)
{
    ASSERT_TRUE(view->load(Docs().a4));
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 0); }));
    view->close();
    EXPECT_EQ(view->pageCount(), 0);
    EXPECT_TRUE(view->fileName().isEmpty());
    EXPECT_TRUE(view->pageLabels().isEmpty());
    EXPECT_TRUE(Outlines(*view).isEmpty());
    EXPECT_TRUE(Pictures(*view).isEmpty());
    EXPECT_EQ(view->pageNumber(), -1);
    view->close();   // twice is harmless
}

TEST_F(PdfViewTest, LayoutPlacesPagesInAColumnWithMargins)
{
    ASSERT_TRUE(view->load(Docs().mixed));
    const qreal sx = ScaleX(1);
    const qreal sy = ScaleY(1);
    const QMap<int, QGraphicsRectItem*> outlines = Outlines(*view);
    ASSERT_EQ(outlines.size(), 4);
    qreal offset = 5;
    for (int i = 0; i < 4; ++i) {
        const QSizeF size = Docs().mixedSizes.at(i);
        const QRectF expected(5 * sx, offset * sy, size.width() * sx, size.height() * sy);
        EXPECT_NEAR(outlines[i]->rect().x(), expected.x(), 0.01) << i;
        EXPECT_NEAR(outlines[i]->rect().y(), expected.y(), 0.01) << i;
        EXPECT_NEAR(outlines[i]->rect().width(), expected.width(), 0.01) << i;
        EXPECT_NEAR(outlines[i]->rect().height(), expected.height(), 0.01) << i;
        EXPECT_EQ(outlines[i]->zValue(), 1);
        EXPECT_EQ(outlines[i]->brush().style(), Qt::NoBrush);
        offset = std::floor(offset + size.height() + (i == 3 ? 5 : 10));
    }
    EXPECT_NEAR(view->sceneRect().width(), (842 + 10) * sx + 2, 0.01);
    EXPECT_NEAR(view->sceneRect().height(), offset * sy + 2, 0.01);
}

TEST_F(PdfViewTest, VisiblePageGetsItsPictureAtItsCorner)
{
    ASSERT_TRUE(view->load(Docs().a4));
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 0); }));
    QGraphicsPixmapItem* picture = Pictures(*view)[0];
    const QRectF page = Outlines(*view)[0]->rect();
    EXPECT_EQ(picture->pos(), page.topLeft());
    EXPECT_NEAR(picture->boundingRect().width(), page.width(), 1.5);
    EXPECT_NEAR(picture->boundingRect().height(), page.height(), 1.5);
    EXPECT_DOUBLE_EQ(picture->pixmap().devicePixelRatioF(), view->devicePixelRatioF());
    // pages far out of view are never rendered
    QTest::qWait(50);
    EXPECT_FALSE(HasPicture(*view, 9));
}

TEST_F(PdfViewTest, ZoomLaysOutAgainAndRendersAtTheNewScale)
{
    ASSERT_TRUE(view->load(Docs().a4));
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 0); }));
    const QRectF before = Outlines(*view)[0]->rect();
    view->setZoomFactor(2.0);
    const QRectF after = Outlines(*view)[0]->rect();
    EXPECT_NEAR(after.width(), before.width() * 2, 0.01);
    EXPECT_NEAR(after.height(), before.height() * 2, 0.01);
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 0); }));
    QTest::qWait(50);
    for (QGraphicsPixmapItem* picture : Pictures(*view))
        EXPECT_NEAR(picture->boundingRect().width(), after.width(), 1.5) << "a picture of the old zoom";
}

TEST_F(PdfViewTest, HugePagePictureIsCappedButCoversThePage)
{
    view->setZoomFactor(2.0);
    ASSERT_TRUE(view->load(Docs().huge));
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 0); }));
    QGraphicsPixmapItem* picture = Pictures(*view)[0];
    EXPECT_LE(picture->pixmap().width(), MaxPictureSide);
    EXPECT_LE(picture->pixmap().height(), MaxPictureSide);
    EXPECT_LE(qint64(picture->pixmap().width()) * picture->pixmap().height() * 4, MaxPictureBytes);
    const QRectF page = Outlines(*view)[0]->rect();
    EXPECT_NEAR(picture->boundingRect().width(), page.width(), page.width() * 0.01);
    EXPECT_NEAR(picture->boundingRect().height(), page.height(), page.height() * 0.01);
}

TEST_F(PdfViewTest, FarPicturesAreReleasedWhileScrollingALongDocument)
{
    ASSERT_TRUE(view->load(Docs().long2000));
    ASSERT_EQ(view->pageCount(), 2000);
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 0); }));
    for (int target : {40, 300, 301, 900, 1500, 1999}) {
        view->setPage(target);
        ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, target); })) << target;
        settle();
        const QList<int> pages = Pictures(*view).keys();
        for (int page : pages) {
            if (page != 0) {
                EXPECT_TRUE(page >= target - 2 - PictureKeepDistance && page <= target + 4 + PictureKeepDistance)
                    << "picture of page " << page << " kept while at " << target;
            }
        }
        EXPECT_TRUE(pages.contains(0)) << "page 0 is never released";
    }
    // scrolling through the bar as a user does
    for (int value = vertical()->maximum(); value > 0; value -= vertical()->maximum() / 7) {
        vertical()->setValue(value);
        settle();
    }
    EXPECT_LE(Pictures(*view).size(), 1 + 2 * PictureKeepDistance + 8);
}

TEST_F(PdfViewTest, ZoomAtTheEndKeepsTheLastPage)
{
    ASSERT_TRUE(view->load(Docs().a4));
    view->slotGoToEndOfDocument();
    settle();
    ASSERT_EQ(vertical()->value(), vertical()->maximum());
    view->setZoomFactor(1.5);
    EXPECT_EQ(vertical()->value(), vertical()->maximum());
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 9); }));
    view->slotZoomOut();
    EXPECT_EQ(vertical()->value(), vertical()->maximum());
    settle();
    EXPECT_EQ(int(view->pageNumber()), 9);
}

TEST_F(PdfViewTest, SettingsAreRestoredOnReopening)
{
    const QString path = copyOf(Docs().a4, "reopen.pdf");
    ASSERT_TRUE(view->load(path));
    view->setZoomFactor(1.5);
    view->setPage(3.5);
    const qreal position = view->pageNumber();
    const int value = vertical()->value();
    EXPECT_NEAR(position, 3.5, 0.01);
    view->close();
    EXPECT_TRUE(QFileInfo::exists(FileSettings::folder() + "/" + FileSettings::fileNameFor(path)));

    view->setZoomFactor(1.0);
    ASSERT_TRUE(view->load(path));
    EXPECT_DOUBLE_EQ(view->zoomFactor(), 1.5);
    EXPECT_NEAR(view->pageNumber(), position, 0.01);
    EXPECT_EQ(vertical()->value(), value);

    PdfView other;   // another view reads the same file
    other.resize(600, 400);
    other.show();
    ASSERT_TRUE(other.load(path));
    EXPECT_DOUBLE_EQ(other.zoomFactor(), 1.5);
    EXPECT_EQ(int(other.pageNumber()), 3);
}

TEST_F(PdfViewTest, SettingsFolderIsTrimmedToTheLimit)
{
    view->setMaximumFileSettingsCacheSize(0);
    const QString path = copyOf(Docs().a4, "trimmed.pdf");
    ASSERT_TRUE(view->load(path));
    view->setZoomFactor(2.0);
    view->close();
    EXPECT_FALSE(QFileInfo::exists(FileSettings::folder() + "/" + FileSettings::fileNameFor(path)));
}

struct BrokenFile {
    const char* name;
    QByteArray (*content)();
};

QByteArray Garbage()
{
    QByteArray bytes;
    for (int i = 0; i < 5000; ++i)
        bytes.append(char((i * 7919) % 251));
    return bytes;
}

QByteArray Truncated()
{
    QFile file(Docs().mixed);
    file.open(QIODevice::ReadOnly);
    return file.read(file.size() / 3);
}

QByteArray Header() { return "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n<<"; }
QByteArray Nothing() { return QByteArray(); }

void PrintTo(const BrokenFile& file, std::ostream* os)
{
    *os << file.name;
}

class BrokenFileTest : public PdfViewTest, public ::testing::WithParamInterface<BrokenFile> {};

TEST_P(BrokenFileTest, IsRefusedAndLeavesTheViewAsItWas)
{
    const QString path = Docs().dir.filePath(QString("broken-%1.pdf").arg(GetParam().name));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(GetParam().content());
    file.close();

    EXPECT_FALSE(view->load(path));
    EXPECT_EQ(view->pageCount(), 0);

    ASSERT_TRUE(view->load(Docs().mixed));
    EXPECT_FALSE(view->load(path));
    EXPECT_EQ(view->pageCount(), 4);
    EXPECT_EQ(view->fileName(), Docs().mixed);
}

INSTANTIATE_TEST_SUITE_P(Files, BrokenFileTest,
                         ::testing::Values(BrokenFile{"garbage", Garbage}, BrokenFile{"truncated", Truncated},
                                           BrokenFile{"header", Header}, BrokenFile{"empty", Nothing}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PdfViewTest, MissingFileIsRefused)
{
    EXPECT_FALSE(view->load(Docs().dir.filePath("no-such.pdf")));
    EXPECT_EQ(view->pageCount(), 0);
}

TEST_F(PdfViewTest, DocumentWithUserPasswordIsRefused)
{
    const QString encrypted = Docs().dir.filePath("encrypted.pdf");
    const int exitCode = QProcess::execute("qpdf", {"--encrypt", "user", "owner", "256", "--", Docs().mixed, encrypted});
    if (exitCode != 0)
        GTEST_SKIP() << "qpdf could not encrypt";
    EXPECT_FALSE(view->load(encrypted));
    EXPECT_EQ(view->pageCount(), 0);
}

struct ZoomRequest {
    qreal requested;
    qreal expected;
};

class ZoomClampTest : public PdfViewTest, public ::testing::WithParamInterface<ZoomRequest> {};

TEST_P(ZoomClampTest, ZoomStaysWithinLimitsWithAndWithoutDocument)
{
    view->setZoomFactor(GetParam().requested);
    EXPECT_DOUBLE_EQ(view->zoomFactor(), GetParam().expected);
    ASSERT_TRUE(view->load(Docs().a4));
    view->setZoomFactor(1.0);
    view->setZoomFactor(GetParam().requested);
    EXPECT_DOUBLE_EQ(view->zoomFactor(), GetParam().expected);
    EXPECT_NEAR(Outlines(*view)[0]->rect().width(), 595 * ScaleX(GetParam().expected), 0.01);
}

INSTANTIATE_TEST_SUITE_P(Requests, ZoomClampTest,
                         ::testing::Values(ZoomRequest{0.05, 0.1}, ZoomRequest{7, 6}, ZoomRequest{2.5, 2.5}));

TEST_F(PdfViewTest, ZoomInAtTheMaximumChangesNothing)
{
    view->setZoomFactor(6.0);
    QSignalSpy changed(view.get(), &PdfView::zoomFactorChanged);
    view->slotZoomIn();
    view->setZoomFactor(8);
    EXPECT_DOUBLE_EQ(view->zoomFactor(), 6.0);
    EXPECT_EQ(changed.count(), 0);
}

QWheelEvent Wheel(int delta, Qt::KeyboardModifiers modifiers)
{
    return QWheelEvent(QPointF(100, 100), QPointF(100, 100), QPoint(), QPoint(0, delta), Qt::NoButton, modifiers,
                       Qt::NoScrollPhase, false);
}

TEST_F(PdfViewTest, WheelScrollsThreeSingleStepsAndCtrlWheelZooms)
{
    ASSERT_TRUE(view->load(Docs().a4));
    vertical()->setValue(1000);
    QWheelEvent up = Wheel(120, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &up);
    EXPECT_EQ(vertical()->value(), 1000 - 3 * vertical()->singleStep());
    QWheelEvent down = Wheel(-240, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &down);
    EXPECT_EQ(vertical()->value(), 1000 + 3 * vertical()->singleStep());

    QWheelEvent zoomIn = Wheel(120, Qt::ControlModifier);
    QApplication::sendEvent(view->viewport(), &zoomIn);
    EXPECT_NEAR(view->zoomFactor(), 1.2, 1e-9);
    QWheelEvent zoomOut = Wheel(-120, Qt::ControlModifier);
    QApplication::sendEvent(view->viewport(), &zoomOut);
    EXPECT_NEAR(view->zoomFactor(), 1.0, 1e-9);
}

TEST_F(PdfViewTest, SpaceAndBackspaceTurnAPageOfTheScrollBar)
{
    ASSERT_TRUE(view->load(Docs().a4));
    QTest::keyClick(view.get(), Qt::Key_Space);
    EXPECT_EQ(vertical()->value(), vertical()->pageStep());
    QTest::keyClick(view.get(), Qt::Key_Space);
    QTest::keyClick(view.get(), Qt::Key_Backspace);
    EXPECT_EQ(vertical()->value(), vertical()->pageStep());
}

TEST_F(PdfViewTest, NavigationSlotsMovePageByPage)
{
    ASSERT_TRUE(view->load(Docs().a4));
    QSignalSpy scrolled(view.get(), &PdfView::scrollPositionChanged);
    view->slotGoToNextPage();
    EXPECT_EQ(int(view->pageNumber()), 1);
    EXPECT_EQ(scrolled.last().at(1).toInt(), 1);
    view->slotGoToPreviousPage();
    view->slotGoToPreviousPage();
    EXPECT_EQ(int(view->pageNumber()), 0);
    view->slotGoToEndOfDocument();
    EXPECT_EQ(vertical()->value(), vertical()->maximum());
    settle();
    EXPECT_EQ(scrolled.last().at(0).toReal(), 1.0);
    EXPECT_EQ(scrolled.last().at(1).toInt(), 9);
    view->slotGoToNextPage();
    EXPECT_EQ(int(view->pageNumber()), 9);
    view->slotGoToStartOfDocument();
    settle();
    EXPECT_EQ(vertical()->value(), 0);
    EXPECT_EQ(scrolled.last().at(1).toInt(), 0);
}

TEST_F(PdfViewTest, SetPageModes)
{
    ASSERT_TRUE(view->load(Docs().a4));
    const QVector<qreal> offsets = PageOffsets(QVector<QSizeF>(10, QSizeF(595, 842)));
    view->setPage(2.25, 0);
    EXPECT_EQ(vertical()->value(), ScrollValueForPosition(offsets, 2.25, ScaleY(1)));
    EXPECT_NEAR(view->pageNumber(), 2.25, 0.01);

    const int value = vertical()->value();
    QSignalSpy scrolled(view.get(), &PdfView::scrollPositionChanged);
    view->setPage(5, 1);
    EXPECT_EQ(vertical()->value(), value);
    EXPECT_EQ(scrolled.count(), 0);

    view->setPage(2.25, 0);
    view->setPage(4, 2);
    EXPECT_EQ(vertical()->value(), value + qRound((offsets[4] - offsets[2]) * ScaleY(1)));
    EXPECT_NEAR(view->pageNumber(), 4.25, 0.01);
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 4); }));
}

TEST_F(PdfViewTest, ScrollTrackingFollowsTheBar)
{
    ASSERT_TRUE(view->load(Docs().a4));
    QSignalSpy scrolled(view.get(), &PdfView::scrollPositionChanged);
    const QVector<qreal> offsets = PageOffsets(QVector<QSizeF>(10, QSizeF(595, 842)));
    vertical()->setValue(int((offsets[6] - 5) * ScaleY(1)) + 3);
    vertical()->setValue(int((offsets[7] - 5) * ScaleY(1)) + 3);
    settle();
    ASSERT_EQ(scrolled.count(), 1) << "a burst of changes is handled once";
    EXPECT_EQ(scrolled.last().at(1).toInt(), 7);
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 7); }));
}

TEST_F(PdfViewTest, ActionsRunTheirSlots)
{
    ASSERT_TRUE(view->load(Docs().a4));
    QSignalSpy changed(view.get(), &PdfView::zoomFactorChanged);
    actions->action(ActionHandler::ZoomIn)->trigger();
    EXPECT_NEAR(view->zoomFactor(), 1.2, 1e-9);
    EXPECT_NEAR(changed.last().first().toReal(), 1.2, 1e-9);
    actions->action(ActionHandler::ZoomOut)->trigger();
    EXPECT_NEAR(view->zoomFactor(), 1.0, 1e-9);
    EXPECT_NEAR(changed.last().first().toReal(), 1.0, 1e-9);
    actions->action(ActionHandler::GoToNextPage)->trigger();
    EXPECT_EQ(int(view->pageNumber()), 1);
    actions->action(ActionHandler::GoToEndOfDocument)->trigger();
    EXPECT_EQ(vertical()->value(), vertical()->maximum());
    actions->action(ActionHandler::GoToStartOfDocument)->trigger();
    EXPECT_EQ(vertical()->value(), 0);
    EXPECT_EQ(actions->action(ActionHandler::NoAction), nullptr);
}

TEST_F(PdfViewTest, MouseToolActionsPickOneToolAtATime)
{
    QSignalSpy changed(view.get(), &PdfView::mouseToolChanged);
    const QList<QPair<ActionHandler::Action, PdfView::MouseTool>> tools{
        {ActionHandler::MouseToolBrowse, PdfView::Browsing},
        {ActionHandler::MouseToolMagnify, PdfView::Magnifying},
        {ActionHandler::MouseToolSelection, PdfView::Selection},
        {ActionHandler::MouseToolTextSelection, PdfView::TextSelection}};
    EXPECT_TRUE(actions->action(ActionHandler::MouseToolMagnify)->isChecked()) << "the view starts magnifying";
    for (const auto& tool : tools) {
        actions->action(tool.first)->trigger();
        EXPECT_EQ(view->mouseTool(), tool.second);
        EXPECT_EQ(changed.last().first().value<PdfView::MouseTool>(), tool.second);
        for (const auto& other : tools)
            EXPECT_EQ(actions->action(other.first)->isChecked(), other.first == tool.first);
    }
    view->setMouseTool(PdfView::Selection);
    EXPECT_TRUE(actions->action(ActionHandler::MouseToolSelection)->isChecked());
}

TEST_F(PdfViewTest, DocumentActionsAreDisabledWithoutADocument)
{
    const QList<QAction*> documentActions{actions->action(ActionHandler::GoToEndOfDocument),
                                          actions->action(ActionHandler::GoToPage),
                                          actions->action(ActionHandler::SetBookmark)};
    for (QAction* action : documentActions)
        EXPECT_FALSE(action->isEnabled()) << qPrintable(action->text());
    ASSERT_TRUE(view->load(Docs().a4));
    for (QAction* action : documentActions)
        EXPECT_TRUE(action->isEnabled()) << qPrintable(action->text());
    view->close();
    for (QAction* action : documentActions)
        EXPECT_FALSE(action->isEnabled()) << qPrintable(action->text());
}

TEST_F(PdfViewTest, ShowFormsReloadsAtTheSamePlaceAndIsRemembered)
{
    const QString path = copyOf(Docs().a4, "forms.pdf");
    ASSERT_TRUE(view->load(path));
    QAction* showForms = actions->action(ActionHandler::ShowForms);
    view->setPage(2.5);
    showForms->setChecked(true);
    EXPECT_EQ(view->fileName(), path);
    EXPECT_NEAR(view->pageNumber(), 2.5, 0.01);
    view->close();
    showForms->setChecked(false);   // no document: only the flag
    ASSERT_TRUE(view->load(path));
    EXPECT_TRUE(showForms->isChecked()) << "the stored flag wins on load";
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 2); }));
}

void SendMouse(PdfView& view, QEvent::Type type, const QPoint& pos, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pos, view.viewport()->mapToGlobal(pos), Qt::LeftButton, buttons, modifiers);
    QApplication::sendEvent(view.viewport(), &event);
}

TEST_F(PdfViewTest, TextSelectionHighlightsWordsAndEscapeClearsThem)
{
    ASSERT_TRUE(view->load(Docs().a4));
    view->setMouseTool(PdfView::TextSelection);
    const QRectF page = Outlines(*view)[0]->rect();
    const QPoint start = view->mapFromScene(page.topLeft() + QPointF(10 * ScaleX(1), 20 * ScaleY(1)));
    const QPoint end = view->mapFromScene(page.topLeft() + QPointF(250 * ScaleX(1), 45 * ScaleY(1)));
    SendMouse(*view, QEvent::MouseButtonPress, start);
    SendMouse(*view, QEvent::MouseMove, end);
    const QList<QGraphicsRectItem*> highlights = Highlights(*view);
    ASSERT_GE(highlights.size(), 4) << "Page 1 alpha beta gamma";
    for (QGraphicsRectItem* highlight : highlights) {
        EXPECT_EQ(highlight->zValue(), 2);
        EXPECT_EQ(highlight->pen().style(), Qt::NoPen);
        EXPECT_TRUE(page.contains(highlight->rect()));
    }
    QTest::keyClick(view.get(), Qt::Key_Escape);
    EXPECT_TRUE(Highlights(*view).isEmpty());
    SendMouse(*view, QEvent::MouseButtonRelease, end, Qt::ControlModifier);   // ends without the menu
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PdfViewTest, MagnifierFollowsThePressedMouseAndGoesOnRelease)
{
    ASSERT_TRUE(view->load(Docs().a4));
    view->setMouseTool(PdfView::Magnifying);
    const QPoint at(200, 150);
    SendMouse(*view, QEvent::MouseButtonPress, at);
    const QPointF scenePoint = view->mapToScene(at);
    auto magnifierPicture = [&]() -> QGraphicsPixmapItem* {
        for (QGraphicsItem* item : view->scene()->items()) {
            auto* picture = qgraphicsitem_cast<QGraphicsPixmapItem*>(item);
            if (picture && !picture->data(1).isValid() && picture->isVisible() && !picture->pixmap().isNull())
                return picture;
        }
        return nullptr;
    };
    ASSERT_TRUE(WaitFor([&] { return magnifierPicture() != nullptr; }));
    QGraphicsPixmapItem* picture = magnifierPicture();
    EXPECT_EQ(picture->pixmap().size(), QSize(MagnifierWidth, MagnifierHeight));
    EXPECT_EQ(picture->offset(), scenePoint - QPointF(200, 100));
    EXPECT_EQ(picture->zValue(), 2);
    bool framed = false;
    for (QGraphicsItem* item : view->scene()->items()) {
        auto* rect = qgraphicsitem_cast<QGraphicsRectItem*>(item);
        if (rect && rect->isVisible() && rect->zValue() == 3)
            framed = rect->rect() == QRectF(scenePoint - QPointF(200, 100), QSizeF(400, 200));
    }
    EXPECT_TRUE(framed);
    SendMouse(*view, QEvent::MouseButtonRelease, at);
    EXPECT_EQ(magnifierPicture(), nullptr);
}

TEST_F(PdfViewTest, MagnifierAtThePageCornerShowsOnlyThePage)
{
    ASSERT_TRUE(view->load(Docs().a4));
    const QRectF page = Outlines(*view)[0]->rect();
    const QPoint corner = view->mapFromScene(page.topLeft() + QPointF(2, 2));
    SendMouse(*view, QEvent::MouseButtonPress, corner);
    QGraphicsPixmapItem* picture = nullptr;
    ASSERT_TRUE(WaitFor([&] {
        for (QGraphicsItem* item : view->scene()->items()) {
            auto* candidate = qgraphicsitem_cast<QGraphicsPixmapItem*>(item);
            if (candidate && !candidate->data(1).isValid() && !candidate->pixmap().isNull())
                picture = candidate;
        }
        return picture != nullptr;
    }));
    EXPECT_LT(picture->pixmap().width(), MagnifierWidth);
    EXPECT_LT(picture->pixmap().height(), MagnifierHeight);
    // magnified twice around the point, the page's corner lands at 2 * corner - point
    const QPointF point = view->mapToScene(corner);
    EXPECT_NEAR(picture->offset().x(), 2 * page.x() - point.x(), 1.5);
    EXPECT_NEAR(picture->offset().y(), 2 * page.y() - point.y(), 1.5);
    SendMouse(*view, QEvent::MouseButtonRelease, corner);
}

TEST_F(PdfViewTest, CloseWhileRenderingDropsTheResults)
{
    view->setZoomFactor(3.0);
    ASSERT_TRUE(view->load(Docs().huge));
    view->close();
    ASSERT_TRUE(view->load(Docs().mixed));
    view->close();
    QTest::qWait(200);
    EXPECT_TRUE(Pictures(*view).isEmpty());
    view->setZoomFactor(1.0);
    ASSERT_TRUE(view->load(Docs().a4));
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 0); }));
    EXPECT_NEAR(Pictures(*view)[0]->boundingRect().width(), Outlines(*view)[0]->rect().width(), 1.5);
}

TEST_F(PdfViewTest, DestroyingTheViewWhileRenderingIsSafe)
{
    ASSERT_TRUE(view->load(Docs().huge));
    view.reset();
    view = std::make_unique<PdfView>();
}

// In view coordinates: a point given in PDF points from the page's top-left corner.
QPoint OnPage(const PdfView& view, int page, const QPointF& points)
{
    const QRectF rect = Outlines(view)[page]->rect();
    return view.mapFromScene(rect.topLeft() + QPointF(points.x() * ScaleX(1), points.y() * ScaleY(1)));
}

TEST_F(PdfViewTest, HoveringALinkPointsAndClickingItGoesToItsPage)
{
    ASSERT_TRUE(view->load(Docs().linkAndForm));
    ASSERT_EQ(view->pageCount(), 2);
    const QPoint link = OnPage(*view, 0, QPointF(50, 70));   // PDF y 200..250 from the bottom
    const QPoint elsewhere = OnPage(*view, 0, QPointF(250, 150));
    QMouseEvent hover(QEvent::MouseMove, link, view->viewport()->mapToGlobal(link), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &hover);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
    QMouseEvent away(QEvent::MouseMove, elsewhere, view->viewport()->mapToGlobal(elsewhere), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &away);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    SendMouse(*view, QEvent::MouseButtonPress, link);
    SendMouse(*view, QEvent::MouseButtonRelease, link);
    settle();
    EXPECT_EQ(int(view->pageNumber()), 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PdfViewTest, FormFieldsAreShownOverTheirPageWhenAskedFor)
{
    const QString path = copyOf(Docs().linkAndForm, "withforms.pdf");
    auto proxies = [&] {
        QList<QGraphicsProxyWidget*> found;
        for (QGraphicsItem* item : view->scene()->items()) {
            if (auto* proxy = qgraphicsitem_cast<QGraphicsProxyWidget*>(item))
                found.append(proxy);
        }
        return found;
    };
    ASSERT_TRUE(view->load(path));
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 0); }));
    EXPECT_TRUE(proxies().isEmpty());

    view->slotToggleShowForms(true);
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 0); }));
    ASSERT_EQ(proxies().size(), 1);
    const QRectF page = Outlines(*view)[0]->rect();
    const QRectF field = proxies().first()->geometry();
    EXPECT_NEAR(field.x(), page.x() + 10 * ScaleX(1), 1);
    EXPECT_NEAR(field.y(), page.y() + 220 * ScaleY(1), 1);
    EXPECT_TRUE(proxies().first()->widget()->property("PageItem::formField").isValid());

    view->setZoomFactor(1.5);   // a new layout places them again, once
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 0); }));
    EXPECT_EQ(proxies().size(), 1);
    view->slotToggleShowForms(false);
    EXPECT_TRUE(proxies().isEmpty());
}

TEST_F(PdfViewTest, ZoomSelectorShowsAndSetsTheZoom)
{
    ASSERT_TRUE(view->load(Docs().a4));
    auto* selector = qobject_cast<ZoomAction*>(actions->action(ActionHandler::Zoom));
    ASSERT_NE(selector, nullptr);
    selector->setZoomFactor(QString("250%"));
    EXPECT_NEAR(view->zoomFactor(), 2.5, 1e-9);
    view->setZoomFactor(0.5);
    EXPECT_NEAR(selector->zoomFactor(), 0.5, 1e-9);
}

TEST_F(PdfViewTest, PageSelectorGoesToTheChosenPage)
{
    auto* selector = qobject_cast<SelectPageAction*>(actions->action(ActionHandler::GoToPage));
    ASSERT_NE(selector, nullptr);
    ASSERT_TRUE(view->load(Docs().a4));
    EXPECT_EQ(selector->items().size(), 10);
    emit selector->pageSelected(6);
    EXPECT_EQ(int(view->pageNumber()), 6);
    view->slotGoToNextPage();
    EXPECT_EQ(selector->currentIndex(), 7);
}

// Picks the entry of the next popup menu as a user would, with the keyboard.
void ChooseInNextMenu(const QString& entry, QStringList* seen)
{
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, entry, seen] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        timer->stop();
        timer->deleteLater();
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

TEST_F(PdfViewTest, TextMenuCopiesTheSelectedWords)
{
    ASSERT_TRUE(view->load(Docs().a4));
    view->setMouseTool(PdfView::TextSelection);
    const QPoint start = OnPage(*view, 0, QPointF(10, 20));
    const QPoint end = OnPage(*view, 0, QPointF(250, 45));
    QApplication::clipboard()->clear();
    QStringList entries;
    ChooseInNextMenu("Copy &Text to Clipboard", &entries);
    SendMouse(*view, QEvent::MouseButtonPress, start);
    SendMouse(*view, QEvent::MouseMove, end);
    SendMouse(*view, QEvent::MouseButtonRelease, end);
    EXPECT_EQ(entries, QStringList({"Copy &Text to Clipboard", "&Cancel"}));
    EXPECT_EQ(QApplication::clipboard()->text(), "Page 1 alpha beta gamma");
    EXPECT_TRUE(Highlights(*view).isEmpty());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PdfViewTest, AreaMenuCopiesTheAreasTextAndPicture)
{
    ASSERT_TRUE(view->load(Docs().a4));
    ASSERT_TRUE(WaitFor([&] { return HasPicture(*view, 0); }));
    view->setMouseTool(PdfView::Selection);
    const QPoint start = OnPage(*view, 0, QPointF(10, 20));
    const QPoint end = OnPage(*view, 0, QPointF(300, 80));
    QStringList entries;
    ChooseInNextMenu("Copy &Text to Clipboard", &entries);
    SendMouse(*view, QEvent::MouseButtonPress, start);
    SendMouse(*view, QEvent::MouseMove, end);
    SendMouse(*view, QEvent::MouseButtonRelease, end);
    EXPECT_EQ(entries, QStringList({"Copy &Image to Clipboard", "&Save Image to File...", "Copy &Text to Clipboard",
                                    "&Cancel"}));
    EXPECT_TRUE(QApplication::clipboard()->text().contains("alpha beta gamma"));
    EXPECT_TRUE(QApplication::clipboard()->text().contains("delta epsilon zeta"));

    entries.clear();
    ChooseInNextMenu("Copy &Image to Clipboard", &entries);
    SendMouse(*view, QEvent::MouseButtonPress, start);
    SendMouse(*view, QEvent::MouseMove, end);
    SendMouse(*view, QEvent::MouseButtonRelease, end);
    const QImage image = QApplication::clipboard()->image();
    EXPECT_NEAR(image.width(), end.x() - start.x(), 2);
    EXPECT_NEAR(image.height(), end.y() - start.y(), 2);
    // the blue box drawn at (20, 90) pt lies below the area; its top row is text on white
    EXPECT_EQ(QColor(image.pixel(1, 1)), QColor(Qt::white));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// The renderer on its own.
TEST(PageRendererTest, PageInFlightIsNotRequestedTwiceAndStaleResultsAreDropped)
{
    PageRenderer renderer;
    EXPECT_GE(renderer.threadCount(), 1);
    EXPECT_FALSE(renderer.requestPage(0, 72, 72, 1)) << "no document";
    renderer.setDocument(Docs().mixed, Poppler::Document::Antialiasing, Poppler::Document::SplashBackend);
    QSignalSpy rendered(&renderer, &PageRenderer::pageRendered);
    EXPECT_TRUE(renderer.requestPage(1, 72, 72, 1));
    EXPECT_FALSE(renderer.requestPage(1, 72, 72, 1));
    EXPECT_TRUE(renderer.isPageInFlight(1));
    ASSERT_TRUE(WaitFor([&] { return rendered.count() == 1; }));
    EXPECT_EQ(rendered.first().at(0).toInt(), 1);
    EXPECT_EQ(rendered.first().at(1).value<QImage>().size(), QSize(842, 595));
    EXPECT_FALSE(renderer.isPageInFlight(1));

    EXPECT_TRUE(renderer.requestPage(2, 144, 144, 1));
    renderer.invalidate();
    EXPECT_TRUE(renderer.requestPage(2, 72, 72, 2));
    ASSERT_TRUE(WaitFor([&] { return rendered.count() == 2 && renderer.isIdle(); }));
    const QImage image = rendered.last().at(1).value<QImage>();
    EXPECT_EQ(image.size(), QSize(600, 800)) << "rendered at the device pixel ratio";
    EXPECT_EQ(image.devicePixelRatio(), 2);
    QTest::qWait(100);
    EXPECT_EQ(rendered.count(), 2) << "the result of the older request arrived";

    EXPECT_TRUE(renderer.requestPage(3, 72, 72, 1));
    renderer.clear();
    QTest::qWait(100);
    EXPECT_EQ(rendered.count(), 2) << "a result for a closed document arrived";
}

TEST(PageRendererTest, RegionIsRenderedAtItsSize)
{
    PageRenderer renderer;
    renderer.setDocument(Docs().mixed, Poppler::Document::Antialiasing, Poppler::Document::SplashBackend);
    QSignalSpy rendered(&renderer, &PageRenderer::regionRendered);
    const int ticket = renderer.requestRegion(0, 144, 144, QRect(10, 10, 400, 200));
    EXPECT_NE(ticket, 0);
    ASSERT_TRUE(WaitFor([&] { return rendered.count() == 1; }));
    EXPECT_EQ(rendered.first().at(0).toInt(), ticket);
    EXPECT_EQ(rendered.first().at(1).value<QImage>().size(), QSize(400, 200));
}

}  // namespace

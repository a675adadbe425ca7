// The picture viewer with its loader, fed real files from make-pictures: what shows, at what
// size, with which buttons, and what falls back to the information panel.
#include "cglobaldata/cglobaldata.h"
#include "cglobaldata/screenarea.h"
#include "picture/cimageview.h"
#include "picture/cpicturemanager.h"
#include "picture/cpicwnd.h"
#include "../samples.h"
#include "../viewerload.h"
#include "../writefile.h"

#include <QAction>
#include <QCoreApplication>
#include <QToolButton>

#include <gtest/gtest.h>

#include <sys/resource.h>

namespace {

class PictureTest : public ::testing::Test
{
protected:
    // A picture limit of 840 × 588.
    static void SetUpTestSuite() { OverrideScreenArea(QRect(0, 0, 1000, 800)); }

    void SetUp() override
    {
        wnd = new CPicWnd;
        QCoreApplication::processEvents(); // the viewer finishes setting up on the first pass
    }
    void TearDown() override
    {
        Settle();
        delete wnd;
    }

    // Lets every job end and its results arrive.
    void Settle()
    {
        static_cast<CPictureManager*>(wnd->Manager())->WaitForJobs();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    Outcome Load(const QString& path) { return LoadInto(wnd, path); }

    bool ButtonShown(int id) const
    {
        for (QToolButton* button : wnd->ControlBar()->findChildren<QToolButton*>())
            if (button->defaultAction() == wnd->View()->Action(id))
                return !button->isHidden();
        return false;
    }

    CPicWnd* wnd = nullptr;
};

TEST_F(PictureTest, EveryKindShowsAtItsOwnSizeWithOnlyTheTurnButtons)
{
    const struct {
        const char* file;
        QSize size;
    } cases[] = {
        {"still.jpg", {320, 200}},       {"still.png", {320, 200}},  {"still.bmp", {320, 200}},
        {"still.webp", {320, 200}},      {"still.tiff", {320, 200}}, {"still.tga", {320, 200}},
        {"still.ico", {128, 80}},        {"still.ppm", {320, 200}},  {"still.xpm", {320, 200}},
        {"still.svg", {300, 150}},       {"anim.gif", {160, 120}},   {"anim100.gif", {200, 100}},
        {"anim.webp", {160, 120}},       {"exif6.jpg", {300, 450}}, // shown turned, as the camera held it
        {"wrongsuffix.jpg", {320, 200}},                            // a PNG by its content
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const Outcome outcome = Load(SamplePicture(c.file));
        EXPECT_TRUE(outcome.loaded) << qPrintable(outcome.err);
        EXPECT_EQ(outcome.size, c.size);
        EXPECT_TRUE(ButtonShown(CImageView::TurnLeft) && ButtonShown(CImageView::TurnRight));
        EXPECT_FALSE(ButtonShown(CImageView::ActualSize) || ButtonShown(CImageView::Fit));
        EXPECT_FALSE(wnd->View()->Action(CImageView::ActualSize)->isEnabled());
        Settle();
    }
}

TEST_F(PictureTest, BrokenAndHostileFilesFailWithAReason)
{
    MakeFifo(SamplePicture("pipe.png"));
    // An animation whose canvas claims 8 million pixels across: played, each frame froze the window.
    QByteArray giant = ReadFile(SamplePicture("anim.webp"));
    ASSERT_EQ(giant.mid(12, 4), QByteArray("VP8X"));
    giant.replace(24, 3, QByteArray("\xff\xff\x7f", 3));
    WriteFile(SamplePicture("giant-canvas.webp"), giant);
    const struct {
        const char* file;
        bool unknown; // our own "Unknown" rather than the reader's words
    } cases[] = {
        {"notapicture.png", false}, {"empty.png", false},   {"broken.gif", true},
        {"pipe.png", true},         {"missing.png", false}, {"giant-canvas.webp", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const Outcome outcome = Load(SamplePicture(c.file));
        EXPECT_TRUE(outcome.failed);
        EXPECT_FALSE(outcome.err.isEmpty());
        EXPECT_EQ(outcome.err == QLatin1String("Unknown"), c.unknown) << qPrintable(outcome.err);
        Settle();
    }
}

// Beyond the limit a picture opens fitted, with Actual Size and Fit (an animation only fits);
// a still picture's full size follows, unless it is read scaled for good: a decompression
// bomb (20000 × 20000 pixels claimed in 5 MB) is read row by row, never at full size.
TEST_F(PictureTest, OnlyAPictureBeyondTheLimitIsShownFittedInEveryFormat)
{
    const QSize limit = PictureLimit();
    ASSERT_EQ(limit, QSize(840, 588));
    ASSERT_TRUE(Solid(Qt::darkCyan, limit).save(SamplePicture("at-limit.png")));
    ASSERT_TRUE(Solid(Qt::darkMagenta, limit + QSize(1, 0)).save(SamplePicture("wider.png")));
    const struct {
        const char* file;
        QSize size;
        bool sizes, full; // Actual Size and Fit shown; the full picture arrived after the first
    } cases[] = {
        {"at-limit.png", limit, false, false}, {"wider.png", {840, 587}, true, true}, // the aspect ratio kept
        {"big.jpg", {840, 560}, true, true},   {"bomb.png", {588, 588}, true, false},
        {"wide.webp", {840, 525}, true, true}, {"wide.psd", {840, 525}, true, true},
        {"wide.gif", {840, 525}, true, true},  {"wide-anim.gif", {840, 525}, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const Outcome outcome = Load(SamplePicture(c.file));
        ASSERT_TRUE(outcome.loaded) << qPrintable(outcome.err);
        EXPECT_EQ(outcome.size, c.size);
        EXPECT_EQ(ButtonShown(CImageView::ActualSize) && ButtonShown(CImageView::Fit), c.sizes);
        Settle(); // A and W are pressed in the program by picture_window.sh
        EXPECT_EQ(wnd->View()->Action(CImageView::ActualSize)->isEnabled(), c.full);
        if (!c.full)
            continue;
        // The full picture is read only once asked for, and then replaces the fitted one.
        wnd->View()->Action(CImageView::ActualSize)->trigger();
        Settle();
        EXPECT_EQ(wnd->View()->ShownPictureSize(), static_cast<CPictureManager*>(wnd->Manager())->FullSize());
    }
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    EXPECT_LT(usage.ru_maxrss, 1024L * 1024) << "peak KiB";
}

TEST_F(PictureTest, FourQuarterTurnsAndTheNextFileBothUndoTurning)
{
    ASSERT_TRUE(Load(SamplePicture("still.png")).loaded);
    QAction* left = wnd->View()->Action(CImageView::TurnLeft);
    left->trigger();
    EXPECT_FALSE(wnd->View()->transform().isIdentity());
    for (int i = 0; i < 3; ++i)
        left->trigger();
    EXPECT_TRUE(wnd->View()->transform().isIdentity());
    wnd->View()->Action(CImageView::TurnRight)->trigger();
    ASSERT_TRUE(Load(SamplePicture("still.jpg")).loaded);
    EXPECT_TRUE(wnd->View()->transform().isIdentity());
}

TEST_F(PictureTest, AnOvertakenLoadDeliversNothing)
{
    CGlobalData& data = CGlobalData::Instance();
    int results = 0;
    QObject::connect(wnd->Manager(), &CAbstractManager::SigPerformFinished, wnd, [&] { ++results; });
    QObject::connect(static_cast<CPictureManager*>(wnd->Manager()), &CPictureManager::SigFullImageReady, wnd,
                     [&] { ++results; });
    for (const char* file : {"big.jpg", "anim100.gif", "still.png"}) {
        data.SetPath(SamplePicture(file));
        data.SetSubType(data.Suffixes().GetSubType(SamplePicture(file), false));
        wnd->StartLoading();
        QCoreApplication::processEvents();        // the job starts
        data.SetPath(SamplePicture("still.bmp")); // the user has moved on
        Settle();
    }
    EXPECT_EQ(results, 0);
}

} // namespace

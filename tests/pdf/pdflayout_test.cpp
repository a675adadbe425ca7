#include "pdf/pdflayout.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct ZoomCase {
    qreal from;
    qreal expected;
};

class ZoomInTest : public ::testing::TestWithParam<ZoomCase> {};
class ZoomOutTest : public ::testing::TestWithParam<ZoomCase> {};
class ClampTest : public ::testing::TestWithParam<ZoomCase> {};

TEST_P(ZoomInTest, AddsTheStepOfItsBand)
{
    EXPECT_NEAR(ClampZoomFactor(ZoomedIn(GetParam().from)), GetParam().expected, 1e-9) << GetParam().from;
}

INSTANTIATE_TEST_SUITE_P(Steps, ZoomInTest,
                         ::testing::Values(ZoomCase{0.1, 0.2}, ZoomCase{0.95, 1.05}, ZoomCase{1.0, 1.2},
                                           ZoomCase{1.95, 2.15}, ZoomCase{2.0, 2.5}, ZoomCase{5.8, 6.0},
                                           ZoomCase{6.0, 6.0}));

TEST_P(ZoomOutTest, SubtractsTheStepOfItsBand)
{
    EXPECT_NEAR(ClampZoomFactor(ZoomedOut(GetParam().from)), GetParam().expected, 1e-9) << GetParam().from;
}

INSTANTIATE_TEST_SUITE_P(Steps, ZoomOutTest,
                         ::testing::Values(ZoomCase{0.1, 0.1}, ZoomCase{0.15, 0.1}, ZoomCase{0.5, 0.4},
                                           ZoomCase{1.0, 0.9}, ZoomCase{1.01, 0.91}, ZoomCase{1.5, 1.3},
                                           ZoomCase{2.01, 1.81}, ZoomCase{2.5, 2.0}, ZoomCase{6.0, 5.5}));

TEST_P(ClampTest, KeepsZoomWithinLimits)
{
    EXPECT_DOUBLE_EQ(ClampZoomFactor(GetParam().from), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Limits, ClampTest,
                         ::testing::Values(ZoomCase{0.05, 0.1}, ZoomCase{-3, 0.1}, ZoomCase{1, 1},
                                           ZoomCase{7, 6}, ZoomCase{1e9, 6},
                                           ZoomCase{std::numeric_limits<qreal>::quiet_NaN(), 0.1}));

TEST(ZoomChange, IsIgnoredOnlyAboveTheMaximumWhenAtTheMaximum)
{
    EXPECT_TRUE(IsZoomChangeIgnored(6.0, ZoomedIn(6.0)));
    EXPECT_FALSE(IsZoomChangeIgnored(5.8, ZoomedIn(5.8)));
    EXPECT_TRUE(IsZoomChangeIgnored(6.0, 6.5));
    EXPECT_FALSE(IsZoomChangeIgnored(6.0, 6.0));
    EXPECT_FALSE(IsZoomChangeIgnored(6.0, 2.0));
    EXPECT_FALSE(IsZoomChangeIgnored(5.9, 7.0));
}

TEST(PageOffsets, StartAtTheMarginAndAddSpacingTruncated)
{
    const QVector<QSizeF> sizes{{100, 200.7}, {300, 50.2}, {80, 10}};
    const QVector<qreal> offsets = PageOffsets(sizes);
    ASSERT_EQ(offsets.size(), 4);
    EXPECT_EQ(offsets[0], 5);
    EXPECT_EQ(offsets[1], 215);   // 5 + 200.7 + 10 = 215.7
    EXPECT_EQ(offsets[2], 275);   // 215 + 50.2 + 10 = 275.2
    EXPECT_EQ(offsets[3], 290);   // 275 + 10 + 5
    EXPECT_EQ(WidestPageWidth(sizes), 300);
}

TEST(PageOffsets, NoPagesGiveNoOffsets)
{
    EXPECT_TRUE(PageOffsets({}).isEmpty());
    EXPECT_EQ(PageAtPosition({}, 10), -1);
    EXPECT_EQ(ScrollValueForPosition({}, 1.5, 2), 0);
}

TEST(PageGeometry, PageAndSceneRectanglesScaleWithBothAxes)
{
    const QVector<QSizeF> sizes{{100, 200}, {300, 50}};
    const QVector<qreal> offsets = PageOffsets(sizes);
    EXPECT_EQ(PageSceneRect(offsets, sizes[1], 1, 2, 3), QRectF(10, 215 * 3, 600, 150));
    EXPECT_EQ(SceneRectFor(300, offsets.last(), 2, 3), QRectF(0, 0, 310 * 2 + 2, 270 * 3 + 2));
}

struct PositionCase {
    qreal position;
    int page;
};

void PrintTo(const PositionCase& position, std::ostream* os)
{
    *os << position.position << " -> " << position.page;
}

class PageAtPositionTest : public ::testing::TestWithParam<PositionCase> {};

TEST_P(PageAtPositionTest, FindsTheLastPageStartingAtOrAbove)
{
    // pages of height 100: offsets 5, 115, 225, total 330
    const QVector<qreal> offsets = PageOffsets({{10, 100}, {10, 100}, {10, 100}});
    EXPECT_EQ(PageAtPosition(offsets, GetParam().position), GetParam().page) << GetParam().position;
}

INSTANTIATE_TEST_SUITE_P(Positions, PageAtPositionTest,
                         ::testing::Values(PositionCase{-50, 0}, PositionCase{5, 0}, PositionCase{114.9, 0},
                                           PositionCase{115, 1}, PositionCase{225, 2}, PositionCase{10000, 2}));

TEST(VisiblePages, RangeCoversTheBand)
{
    const QVector<qreal> offsets = PageOffsets(QVector<QSizeF>(10, QSizeF(10, 100)));
    EXPECT_EQ(VisiblePageRange(offsets, 0, 50), qMakePair(0, 0));
    EXPECT_EQ(VisiblePageRange(offsets, 100, 150), qMakePair(0, 2));
    EXPECT_EQ(VisiblePageRange(offsets, 1000, 5000), qMakePair(9, 9));
}

struct ReleaseCase {
    int page;
    bool released;
};

void PrintTo(const ReleaseCase& release, std::ostream* os)
{
    *os << "page " << release.page;
}

class PictureReleaseTest : public ::testing::TestWithParam<ReleaseCase> {};

TEST_P(PictureReleaseTest, PicturesBeyondTwentyFivePagesGoExceptPageZero)
{
    EXPECT_EQ(IsPictureReleased(GetParam().page, 100, 102), GetParam().released) << GetParam().page;
}

INSTANTIATE_TEST_SUITE_P(Distances, PictureReleaseTest,
                         ::testing::Values(ReleaseCase{0, false}, ReleaseCase{1, true}, ReleaseCase{74, true},
                                           ReleaseCase{75, false}, ReleaseCase{101, false}, ReleaseCase{127, false},
                                           ReleaseCase{128, true}));

TEST(ScrollValue, ForPositionAndBackAgain)
{
    const QVector<qreal> offsets = PageOffsets(QVector<QSizeF>(4, QSizeF(10, 100)));   // 5, 115, 225, 335
    const qreal sy = 1.5;
    EXPECT_EQ(ScrollValueForPosition(offsets, 0, sy), 0);
    EXPECT_EQ(ScrollValueForPosition(offsets, 1, sy), 165);          // (115 - 5) * 1.5
    EXPECT_EQ(ScrollValueForPosition(offsets, 1.5, sy), 165 + 75);   // + 100 * 1.5 * 0.5
    EXPECT_EQ(ScrollValueForPosition(offsets, 1.003, sy), 165);      // 165.45
    EXPECT_EQ(ScrollValueForPosition(offsets, 1.0034, sy), 166);     // 165.51
    EXPECT_EQ(ScrollValueForPosition(offsets, 99, sy), ScrollValueForPosition(offsets, 3, sy));
    EXPECT_NEAR(PositionForScrollValue(offsets, 1, 240, sy), 1.5, 1e-9);
    EXPECT_NEAR(PositionForScrollValue(offsets, 1, 165, sy), 1.0, 1e-9);
    EXPECT_LT(PositionForScrollValue(offsets, 1, 100000, sy), 2.0);
    EXPECT_EQ(PositionForScrollValue(offsets, -1, 100, sy), -1);
}

TEST(ScrollValue, TrackedPositionAddsTheMargin)
{
    EXPECT_DOUBLE_EQ(TrackedPosition(0, 2), 2.5);
    EXPECT_DOUBLE_EQ(TrackedPosition(215, 2), 110);
}

TEST(ScrollValue, ProportionalToTheNewMaximum)
{
    EXPECT_EQ(ProportionalScrollValue(50, 100, 300), 150);
    EXPECT_EQ(ProportionalScrollValue(100, 100, 300), 300);
    EXPECT_EQ(ProportionalScrollValue(40, 0, 300), 40);
}

struct WheelCase {
    int delta;
    int steps;
};

class WheelTest : public ::testing::TestWithParam<WheelCase> {};

TEST_P(WheelTest, ThreeSingleStepsPerNotchTruncated)
{
    EXPECT_EQ(WheelScrollSteps(GetParam().delta), GetParam().steps) << GetParam().delta;
}

INSTANTIATE_TEST_SUITE_P(Deltas, WheelTest,
                         ::testing::Values(WheelCase{120, -3}, WheelCase{-120, 3}, WheelCase{240, -6},
                                           WheelCase{119, 0}, WheelCase{-239, 3}, WheelCase{0, 0}));

TEST(Magnifier, RegionIsAroundThePointAtTwiceTheResolution)
{
    EXPECT_EQ(MagnifierRegion(QPointF(300, 400), QPointF(10, 20)), QRect(380, 660, 400, 200));
    EXPECT_EQ(MagnifierRegion(QPointF(10, 20), QPointF(10, 20)), QRect(-200, -100, 400, 200));
}

TEST(PictureCap, SmallPicturesStayWhole)
{
    EXPECT_DOUBLE_EQ(PictureCapScale(QSizeF(800, 1100)), 1);
    EXPECT_DOUBLE_EQ(PictureCapScale(QSizeF(8000, 8000)), 1);
    EXPECT_DOUBLE_EQ(PictureCapScale(QSizeF()), 1);
}

TEST(PictureCap, LargePicturesShrinkToTheLongestSideAndTheByteLimit)
{
    const qreal huge = PictureCapScale(QSizeF(80000, 80000));
    EXPECT_NEAR(80000 * huge, 8000, 1e-6);
    const qreal tall = PictureCapScale(QSizeF(1000, 40000));
    EXPECT_NEAR(40000 * tall, 8000, 1e-6);
    const qreal bytes = PictureCapScale(QSizeF(4000, 4000), 8000, 16 * 1024 * 1024);
    EXPECT_LE(4000 * bytes * 4000 * bytes * 4, 16.0 * 1024 * 1024 + 1);
    EXPECT_GT(bytes, 0.5);
}

TEST(BrowseWrap, CursorReachingAnEdgeComesBackAtTheOppositeOne)
{
    const QSize view(200, 100);
    EXPECT_EQ(WrappedCursorPosition(QPoint(50, 50), view), QPoint(50, 50));
    EXPECT_EQ(WrappedCursorPosition(QPoint(0, 50), view), QPoint(196, 50));
    EXPECT_EQ(WrappedCursorPosition(QPoint(199, 50), view), QPoint(3, 50));
    EXPECT_EQ(WrappedCursorPosition(QPoint(50, 1), view), QPoint(50, 96));
    EXPECT_EQ(WrappedCursorPosition(QPoint(50, 99), view), QPoint(50, 3));
    EXPECT_EQ(WrappedCursorPosition(QPoint(0, 0), QSize(3, 3)), QPoint(0, 0));
}

TEST(TextSelection, RectangleSpansBothPointsInAnyDirection)
{
    EXPECT_EQ(SelectionRect(QPointF(10, 20), QPointF(4, 30)), QRectF(4, 20, 6, 10));
    EXPECT_EQ(SelectionRect(QPointF(10, 20), QPointF(10, 20)), QRectF(10, 20, 0, 0));
}

// Three lines of three words each, 20 points apart: "a b c / d e f / g h i".
QList<QRectF> ThreeLines()
{
    QList<QRectF> boxes;
    for (int line = 0; line < 3; ++line) {
        for (int word = 0; word < 3; ++word)
            boxes.append(QRectF(10 + word * 30, 10 + line * 20, 20, 10));
    }
    return boxes;
}

struct SelectionCase {
    const char* name;
    QRectF rect;
    QList<int> selected;
};

void PrintTo(const SelectionCase& selection, std::ostream* os)
{
    *os << selection.name;
}

class TextSelectionWalk : public ::testing::TestWithParam<SelectionCase> {};

TEST_P(TextSelectionWalk, SelectsTheBoxesInReadingOrder)
{
    EXPECT_EQ(SelectedTextBoxes(ThreeLines(), GetParam().rect), GetParam().selected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, TextSelectionWalk,
    ::testing::Values(SelectionCase{"one word", QRectF(12, 12, 5, 5), {0}},
                      SelectionCase{"first line", QRectF(12, 12, 70, 5), {0, 1, 2}},
                      SelectionCase{"from the second word on", QRectF(45, 12, 40, 5), {1, 2}},
                      SelectionCase{"over a line break", QRectF(45, 12, 10, 20), {1, 2, 3, 4}},
                      SelectionCase{"everything", QRectF(0, 0, 200, 200), {0, 1, 2, 3, 4, 5, 6, 7, 8}},
                      SelectionCase{"second line only", QRectF(5, 32, 100, 4), {3, 4, 5}},
                      SelectionCase{"between lines", QRectF(5, 21, 100, 8), {}},
                      SelectionCase{"right of everything", QRectF(150, 12, 10, 5), {}},
                      SelectionCase{"below everything", QRectF(5, 100, 10, 5), {}}));

TEST(TextSelection, NoBoxesSelectNothing)
{
    EXPECT_TRUE(SelectedTextBoxes({}, QRectF(0, 0, 100, 100)).isEmpty());
}

}  // namespace

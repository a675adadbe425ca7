#include "pdf/pagegeometry.h"
#include "pdf/pdflayout.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(Zoom, StepsWithinTheirBandsAndClamps)
{
    const struct {
        qreal from, in, out;
    } steps[] = {{0.1, 0.2, 0.1},    {0.95, 1.05, 0.85}, {1.0, 1.2, 0.9}, {1.01, 1.21, 0.91}, {2.0, 2.5, 1.8},
                 {2.01, 2.51, 1.81}, {2.5, 3.0, 2.0},    {5.8, 6.0, 5.3}, {6.0, 6.0, 5.5}};
    for (const auto& s : steps) {
        EXPECT_NEAR(ClampZoomFactor(ZoomedIn(s.from)), s.in, 1e-9) << s.from;
        EXPECT_NEAR(ClampZoomFactor(ZoomedOut(s.from)), s.out, 1e-9) << s.from;
    }
    for (qreal tooSmall : {-3.0, std::numeric_limits<qreal>::quiet_NaN()})
        EXPECT_DOUBLE_EQ(ClampZoomFactor(tooSmall), 0.1);
    EXPECT_TRUE(IsZoomChangeIgnored(6.0, ZoomedIn(6.0)));
    EXPECT_FALSE(IsZoomChangeIgnored(5.8, ZoomedIn(5.8)) || IsZoomChangeIgnored(6, 2) || IsZoomChangeIgnored(5.9, 7));
}

// Pages of 100 x 200 and 300 x 50 points at 2 x 3 pixels per point: offsets 5, 215, 270.
TEST(PageGeometry, HitTestsAndConvertsBetweenSceneAndPage)
{
    const PageGeometry geometry({{100, 200}, {300, 50}}, 2, 3);
    EXPECT_EQ(geometry.pageRect(1), QRectF(10, 215 * 3, 600, 150));
    EXPECT_EQ(geometry.sceneRect(), QRectF(0, 0, 310 * 2 + 2, 270 * 3 + 2));
    EXPECT_EQ(PageGeometry().sceneRect(), QRectF(0, 0, 1, 1));
    const struct {
        QPointF scenePoint;
        int page;
    } hits[] = {{{20, 20}, 0},
                {{209, 614}, 0},
                {{20, 640}, -1} /* between */,
                {{5, 700}, -1} /* margin */,
                {{300, 700}, 1},
                {{611, 700}, -1} /* beside the narrow page */,
                {{20, 5000}, -1}};
    for (const auto& hit : hits)
        EXPECT_EQ(geometry.pageAt(hit.scenePoint), hit.page) << hit.scenePoint.x() << "," << hit.scenePoint.y();
    const QRectF points(10, 5, 30, 20);
    const QRectF scene = geometry.toScene(1, points);
    EXPECT_EQ(scene, QRectF(30, 660, 60, 60));
    EXPECT_EQ(geometry.toPagePoints(1, scene), points);
    EXPECT_EQ(geometry.toPageFraction(1, QPointF(310, 720)), QPointF(0.5, 0.5));
}

TEST(PageOffsets, StartAtTheMarginAddSpacingTruncatedAndFindTheirPages)
{
    EXPECT_EQ(PageOffsets({{100, 200.7}, {300, 50.2}, {80, 10}}), QVector<qreal>({5, 215, 275, 290}));
    EXPECT_TRUE(PageOffsets({}).isEmpty());
    EXPECT_EQ(PageAtPosition({}, 10), -1);
    const QVector<qreal> offsets = PageOffsets(QVector<QSizeF>(10, QSizeF(10, 100))); // 5, 115, 225 ...
    for (const auto& c : QList<QPair<qreal, int>>{{-50, 0}, {114.9, 0}, {115, 1}, {225, 2}, {10000, 9}})
        EXPECT_EQ(PageAtPosition(offsets, c.first), c.second) << c.first;
    EXPECT_EQ(VisiblePageRange(offsets, 0, 50), qMakePair(0, 0));
    EXPECT_EQ(VisiblePageRange(offsets, 100, 150), qMakePair(0, 2));
    EXPECT_EQ(VisiblePageRange(offsets, 1000, 5000), qMakePair(9, 9));
}

TEST(ScrollValue, ForPositionAndBackAgain)
{
    const QVector<qreal> offsets = PageOffsets(QVector<QSizeF>(4, QSizeF(10, 100))); // 5, 115, 225, 335
    const qreal sy = 1.5;
    EXPECT_EQ(ScrollValueForPosition({}, 1.5, 2), 0);
    EXPECT_EQ(ScrollValueForPosition(offsets, 1, sy), 165);        // (115 - 5) * 1.5
    EXPECT_EQ(ScrollValueForPosition(offsets, 1.5, sy), 165 + 75); // + 100 * 1.5 * 0.5
    EXPECT_EQ(ScrollValueForPosition(offsets, 1.0034, sy), 166);   // 165.51
    EXPECT_NEAR(PositionForScrollValue(offsets, 1, 240, sy), 1.5, 1e-9);
    EXPECT_LT(PositionForScrollValue(offsets, 1, 100000, sy), 2.0);
    EXPECT_EQ(PositionForScrollValue(offsets, -1, 100, sy), -1);
    for (const auto& w : QList<QPair<int, int>>{{120, -3}, {-120, 3}, {240, -6}, {119, 0}, {-239, 3}})
        EXPECT_EQ(WheelScrollSteps(w.first), w.second) << w.first;
}

TEST(TextSelection, SelectsTheBoxesInReadingOrder)
{
    QList<QRectF> boxes; // "a b c / d e f / g h i", lines 20 points apart
    for (int line = 0; line < 3; ++line) {
        for (int word = 0; word < 3; ++word)
            boxes.append(QRectF(10 + word * 30, 10 + line * 20, 20, 10));
    }
    const struct {
        const char* name;
        QRectF rect;
        QList<int> selected;
    } cases[] = {{"one word", {12, 12, 5, 5}, {0}},
                 {"from the second word on", {45, 12, 40, 5}, {1, 2}},
                 {"over a line break", {45, 12, 10, 20}, {1, 2, 3, 4}},
                 {"everything", {0, 0, 200, 200}, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
                 {"second line only", {5, 32, 100, 4}, {3, 4, 5}},
                 {"between lines", {5, 21, 100, 8}, {}},
                 {"right of everything", {150, 12, 10, 5}, {}}};
    for (const auto& c : cases)
        EXPECT_EQ(SelectedTextBoxes(boxes, c.rect), c.selected) << c.name;
}

} // namespace

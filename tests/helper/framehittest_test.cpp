#include "cparentdlg/framehittest.h"

#include <gtest/gtest.h>

using Z = FrameZone;

TEST(HitTestFrame, BandsCornersAndFixedSides)
{
    const QRect win(0, 0, 500, 400), moved(100, 50, 500, 400);
    const struct {
        QRect window;
        QPoint p;
        int shadow;
        bool w, h;
        FrameZone expected;
    } cases[] = {
        // The band is the last 5 pixels of the shadow: [25,30) and [470,475), [25,30) and [370,375).
        {win, {24, 200}, 30, true, true, Z::None},
        {win, {25, 200}, 30, true, true, Z::Left},
        {win, {30, 200}, 30, true, true, Z::None},
        {win, {469, 200}, 30, true, true, Z::None},
        {win, {470, 200}, 30, true, true, Z::Right},
        {win, {474, 200}, 30, true, true, Z::Right},
        {win, {475, 200}, 30, true, true, Z::None},
        {win, {250, 24}, 30, true, true, Z::None},
        {win, {250, 25}, 30, true, true, Z::Top},
        {win, {250, 30}, 30, true, true, Z::None},
        {win, {250, 370}, 30, true, true, Z::Bottom},
        {win, {250, 375}, 30, true, true, Z::None},
        {win, {27, 27}, 30, true, true, Z::TopLeft},
        {win, {472, 27}, 30, true, true, Z::TopRight},
        {win, {27, 372}, 30, true, true, Z::BottomLeft},
        {win, {472, 372}, 30, true, true, Z::BottomRight},
        {win, {250, 200}, 30, true, true, Z::None},
        // Fixed width: no side bands, corners become top or bottom.
        {win, {27, 200}, 30, false, true, Z::None},
        {win, {472, 200}, 30, false, true, Z::None},
        {win, {27, 27}, 30, false, true, Z::Top},
        {win, {472, 372}, 30, false, true, Z::Bottom},
        // Fixed height: the other way round.
        {win, {250, 27}, 30, true, false, Z::None},
        {win, {27, 27}, 30, true, false, Z::Left},
        {win, {472, 372}, 30, true, false, Z::Right},
        {win, {27, 27}, 30, false, false, Z::None},
        // Less than 5 pixels of shadow: the outer 5 pixels.
        {win, {4, 200}, 3, true, true, Z::Left},
        {win, {5, 200}, 3, true, true, Z::None},
        {win, {494, 200}, 3, true, true, Z::None},
        {win, {495, 200}, 3, true, true, Z::Right},
        {win, {499, 0}, 3, true, true, Z::TopRight},
        {win, {0, 399}, 3, true, true, Z::BottomLeft},
        {win, {250, 395}, 3, true, true, Z::Bottom},
        {win, {250, 394}, 3, true, true, Z::None},
        // A window away from the origin.
        {moved, {124, 250}, 30, true, true, Z::None},
        {moved, {125, 250}, 30, true, true, Z::Left},
        {moved, {575, 250}, 30, true, true, Z::None},
        {moved, {572, 422}, 30, true, true, Z::BottomRight},
        {moved, {27, 27}, 30, true, true, Z::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HitTestFrame(c.window, c.p, c.shadow, c.w, c.h), c.expected)
            << "window " << c.window.x() << "," << c.window.y() << " point " << c.p.x() << "," << c.p.y() << " shadow "
            << c.shadow << " w " << c.w << " h " << c.h;
}

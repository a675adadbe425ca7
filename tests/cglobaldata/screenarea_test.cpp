#include "cglobaldata/screenarea.h"

#include <gtest/gtest.h>

TEST(ScreenArea, ScreenIndexFor)
{
    // A wide screen and a smaller one to its right, its top 100 pixels lower.
    const QVector<QRect> two{{0, 0, 1600, 1000}, {1600, 100, 1280, 800}};
    const QRect none;
    const struct {
        QVector<QRect> screens;
        QRect window;
        QPoint pointer;
        int expected;
    } cases[] = {
        {two, {1800, 200, 600, 400}, {10, 10}, 1}, // the window's screen, not the pointer's
        {two, {100, 100, 600, 400}, {2000, 300}, 0},
        {two, {1200, 200, 600, 400}, {2000, 300}, 0}, // across the edge: where its centre is
        {two, {1500, 200, 600, 400}, {10, 10}, 1},
        {two, none, {2000, 300}, 1}, // no window: the pointer's screen
        {two, none, {10, 10}, 0},
        {two, {1700, 850, 200, 200}, {10, 10}, 1}, // centre just below the smaller screen: the nearest
        {two, {2500, 1200, 100, 100}, {10, 10}, 1},
        {two, {-900, -900, 100, 100}, {2000, 300}, 0},
        {two, none, {5000, 500}, 1},
        {{{0, 0, 1600, 1000}, {0, 0, 1600, 1000}}, {100, 100, 600, 400}, {0, 0}, 0}, // mirrored: the first
        {{}, {100, 100, 600, 400}, {0, 0}, -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScreenIndexFor(c.screens, c.window, c.pointer), c.expected)
            << c.window.x() << "," << c.window.y() << " pointer " << c.pointer.x() << "," << c.pointer.y();
}

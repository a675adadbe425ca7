#include "mainwnd/wndgeometry.h"

#include <gtest/gtest.h>

TEST(WndGeometry, FitContentSize)
{
    const QSize screen(1440, 900);
    const struct {
        QSize wanted, max, expected;
    } cases[] = {
        {{200, 100}, screen, {400, 300}},   {{0, 0}, screen, {400, 300}},        {{400, 260}, screen, {400, 300}},
        {{401, 261}, screen, {401, 301}},   {{800, 600}, screen, {800, 640}},    {{1440, 860}, screen, {1440, 900}},
        {{1441, 861}, screen, {1440, 900}}, {{5000, 5000}, screen, {1440, 900}}, {{800, 600}, {1024, 600}, {800, 600}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FitContentSize(c.wanted, c.max), c.expected)
            << c.wanted.width() << "x" << c.wanted.height() << " in " << c.max.width() << "x" << c.max.height();
}

TEST(WndGeometry, KeepOnScreenAndCentre)
{
    const QRect screen(0, 0, 1440, 900), second(1920, 100, 1280, 1024);
    const struct {
        QRect window, screen;
        QPoint expected;
    } cases[] = {
        {{-50, 100, 400, 300}, screen, {0, 100}},     {{1200, 100, 400, 300}, screen, {1040, 100}},
        {{1040, 600, 400, 300}, screen, {1040, 600}}, // touching both far edges is inside
        {{100, 100, 400, 300}, screen, {100, 100}},   {{100, -10, 400, 300}, screen, {100, 0}},
        {{100, 700, 400, 300}, screen, {100, 600}},   {{-5000, -5000, 400, 300}, screen, {0, 0}},
        {{100, 100, 400, 300}, second, {1920, 100}},  {{3000, 1000, 400, 300}, second, {2800, 824}},
        {{2000, 200, 400, 300}, second, {2000, 200}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeepOnScreen(c.window, c.screen), c.expected) << c.window.x() << "," << c.window.y();

    EXPECT_EQ(CentredIn({400, 300}, screen), QPoint(520, 300));
    EXPECT_EQ(CentredIn({400, 300}, second), QPoint(1920 + 440, 100 + 362));
    EXPECT_EQ(CentredIn({1440, 900}, screen), QPoint(0, 0));
}

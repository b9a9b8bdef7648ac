// The notice line's movement across the top of the window.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "support/memory_window.h"
#include "ui/notice_scroll.h"

namespace velmora::ui {
namespace {

using fakes::MemoryWindow;

TEST(NoticeScroll, NextLeftEdge) {
    struct Case {
        int left, width, clientWidth, expected;
    };
    const Case cases[] = {
        {5, 300, 479, -5},         // an ordinary step
        {-289, 300, 479, -299},    // one pixel still inside
        {-290, 300, 479, 469},     // exactly out: re-enters from the right
        {-295, 300, 479, 469},     // past the edge
        {0, 0, 479, 469},          // a label without width is always out
        {1000, 300, 479, 990},     // right of the client area it just moves
        {INT_MIN, 300, 479, 469},  // no overflow at the extremes
        {INT_MIN + 5, INT_MAX, 479, 469},
        {INT_MAX, 300, 479, INT_MAX - 10},
        {-300, 300, INT_MIN, INT_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(nextNoticeLeft(c.left, c.width, c.clientWidth), c.expected)
            << "left " << c.left << " width " << c.width;
    }
}

TEST(NoticeScroll, TicksMoveTheLabelAndWrapOnlyOnceItIsOut) {
    MemoryWindow window;
    window.setNoticeGeometry(5, 300, 479);
    moveNoticeOneStep(window);
    EXPECT_EQ(window.left(), -5);
    std::vector<int> lefts;
    for (int tick = 0; tick < 30; ++tick) {
        moveNoticeOneStep(window);
        lefts.push_back(window.left());
    }
    // -15, -25 ... -295 are 29 steps inside; the 30th step reaches -305 and wraps.
    EXPECT_EQ(lefts[28], -295);
    EXPECT_EQ(lefts[29], 469);
}

}  // namespace
}  // namespace velmora::ui

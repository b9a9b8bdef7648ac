#include "ui/wait_units.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace velmora::ui {
namespace {

TEST(WaitUnits, DueTimeAndMilliseconds) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    struct Case {
        std::int64_t duration;
        WaitUnit unit;
        std::int64_t ms;
        std::int64_t due;
    };
    const Case cases[] = {
        {200, WaitUnit::Milliseconds, 200, -2'000'000},
        {1, WaitUnit::Seconds, 1'000, -10'000'000},
        {2, WaitUnit::Minutes, 120'000, -1'200'000'000},
        {1, WaitUnit::Hours, 3'600'000, -36'000'000'000},
        {0, WaitUnit::Hours, 0, 0},
        {-5, WaitUnit::Seconds, 0, 0},
        {kMax / 1'000, WaitUnit::Seconds, kMax / 1'000 * 1'000, -kMax},
        {kMax, WaitUnit::Hours, kMax, -kMax},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(waitMilliseconds(c.duration, c.unit), c.ms) << c.duration;
        EXPECT_EQ(relativeDueTime(c.duration, c.unit), c.due) << c.duration;
    }
}

}  // namespace
}  // namespace velmora::ui

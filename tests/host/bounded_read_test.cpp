// The read loop both HTTP paths share: where it stops, and what it reports.
#include "http/bounded_read.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

namespace h = velmora::http;

namespace {

struct Outcome {
    h::ReadEnd end;
    std::string taken;
};

// Serves `body` in pieces of at most 3 bytes; the read after `failAfter`
// pieces fails, and `late()` holds after `lateAfter` of them.
Outcome read(std::string_view body, std::size_t maxBytes, int failAfter = 1000,
             int lateAfter = 1000, std::size_t takeAtMost = 1000) {
    char buffer[4];
    Outcome out{};
    int pieces = 0;
    out.end = h::readBounded(
        buffer, maxBytes,
        [&](char* into, std::size_t most) -> std::optional<std::size_t> {
            if (pieces == failAfter) return std::nullopt;
            const std::size_t n = std::min({most, body.size(), std::size_t{3}});
            body.copy(into, n);
            body.remove_prefix(n);
            ++pieces;
            return n;
        },
        [&](std::string_view piece) {
            out.taken += piece;
            return out.taken.size() < takeAtMost;
        },
        [&] { return pieces >= lateAfter; });
    return out;
}

TEST(BoundedRead, StopsAtTheEndTheCapTheDeadlineOrAFailure) {
    using E = h::ReadEnd;
    const struct {
        Outcome outcome;
        E end;
        std::string taken;
    } cases[] = {
        {read("abcdefg", 100), E::Ended, "abcdefg"},
        {read("abcdefg", 7), E::Capped, "abcdefg"},  // filled exactly: more is not asked for
        {read("abcdefg", 8), E::Ended, "abcdefg"},   // one past the cap tells a longer body
        {read("abcdefgh", 5), E::Capped, "abcde"},   // the last piece is cut to the cap
        {read("abcdefg", 100, 2), E::Failed, "abcdef"},
        {read("abcdefg", 100, 1000, 1), E::Late, "abc"},
        {read("abcdefg", 100, 1000, 1000, 4), E::Ended, "abcdef"},  // taker wants no more
        {read("", 0), E::Capped, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.outcome.end, c.end) << c.taken;
        EXPECT_EQ(c.outcome.taken, c.taken);
    }
}

}  // namespace

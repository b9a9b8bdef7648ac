#include "util/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace t = velmora::text;

namespace {

// Two-byte characters whose trail byte is an ASCII character: 0x5C '\',
// 0x40 '@', 0x41 'A', 0x61 'a', 0x7C '|'. A byte search would match inside
// them; ours never may.
constexpr std::string_view kTrail5C = "\x95\x5C";
constexpr std::string_view kTrailA = "\xB0\x41";

struct FindCase {
    std::string_view haystack;
    std::string_view needle;
    std::size_t from;
    bool ignoreCase;
    std::size_t expected;
};

class FindTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindTest, FindsOnlyAtCharacterBoundaries) {
    const FindCase& c = GetParam();
    EXPECT_EQ(t::find(c.haystack, c.needle, c.from, c.ignoreCase), c.expected)
        << "needle size " << c.needle.size() << " from " << c.from;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindTest,
    ::testing::Values(
        FindCase{"abcabc", "bc", 0, false, 1}, FindCase{"abcabc", "bc", 2, false, 4},
        FindCase{"abcabc", "BC", 0, false, t::npos}, FindCase{"abcabc", "BC", 0, true, 1},
        FindCase{"abc", "abcd", 0, false, t::npos}, FindCase{"abc", "c", 3, false, t::npos},
        FindCase{"abc", "c", 99, false, t::npos},
        // trail bytes equal to ASCII are never a match start
        FindCase{"\x95\x5C", "\\", 0, false, t::npos}, FindCase{"\x95\x5C\\", "\\", 0, false, 2},
        FindCase{"x\xB0\x40y@", "@", 0, false, 4}, FindCase{"\xB0\x41", "a", 0, true, t::npos},
        FindCase{"\xB0\x41", "A", 0, false, t::npos},
        // `from` inside a character moves on to the next boundary
        FindCase{"\xB0\x41\x41", "A", 1, false, 2}, FindCase{"\xB0\x41", "A", 1, false, t::npos},
        // a two-byte needle never starts at the trail byte of the previous one
        FindCase{"\xB0\xB0\xB0\xA1", "\xB0\xA1", 0, false, 2},
        FindCase{"\xB0\xB0\xA1", "\xB0\xA1", 0, false, t::npos},
        // case folding leaves two-byte characters alone, trail bytes included
        FindCase{"\xB0\x61z", "\xB0\x41Z", 0, true, t::npos}, FindCase{"\xB0\x41Z", "\xB0\x41z", 0, true, 0},
        FindCase{"\xD6\xD0\xCE\xC4Set-Cookie:", "set-cookie:", 0, true, 4},
        // a lead byte followed by a zero byte is a character of its own
        FindCase{std::string_view("\xB0\0a", 3), std::string_view("\0", 1), 0, false, 1},
        // 0x80 (the euro sign) and 0xFF are one-byte characters
        FindCase{"\x80:x", ":", 0, false, 1}, FindCase{"\xFF:x", ":", 0, false, 1},
        FindCase{"\x80\xB0:", ":", 0, false, t::npos},
        // the empty needle: first boundary inside the text, never in an empty text
        FindCase{"abc", "", 0, false, 0}, FindCase{"abc", "", 2, false, 2}, FindCase{"abc", "", 3, false, t::npos},
        FindCase{"", "", 0, false, t::npos}, FindCase{"\xB0\x41z", "", 1, false, 2}));

TEST(TextFindLast, LastMatchAtABoundary) {
    EXPECT_EQ(t::findLast("a:b:c", ":"), 3u);
    EXPECT_EQ(t::findLast("a:b\xB0:", ":"), 1u);
    EXPECT_EQ(t::findLast("xAbxab", "AB", true), 4u);
    EXPECT_EQ(t::findLast("abc", "z"), t::npos);
    EXPECT_EQ(t::findLast("", ":"), t::npos);
}

TEST(TextCharLength, LeadBytesTakeTheirTrail) {
    EXPECT_EQ(t::charLength("a", 0), 1u);
    EXPECT_EQ(t::charLength("\xB0\x41", 0), 2u);
    EXPECT_EQ(t::charLength("\xB0", 0), 1u);
    EXPECT_EQ(t::charLength(std::string_view("\xB0\0", 2), 0), 1u);
    EXPECT_EQ(t::charLength("\x80\x41", 0), 1u);
    EXPECT_EQ(t::charLength("\xFF\x41", 0), 1u);
    EXPECT_EQ(t::charLength("\x81\x41", 0), 2u);
    EXPECT_EQ(t::charLength("\xFE\x41", 0), 2u);
    EXPECT_TRUE(t::endsInLoneLeadByte("ab\xB0"));
    EXPECT_FALSE(t::endsInLoneLeadByte("a\xB0\xB0"));
    EXPECT_TRUE(t::endsInLoneLeadByte("a\xB0\xB0\xB0"));
    EXPECT_FALSE(t::endsInLoneLeadByte(""));
}

TEST(TextBlanks, TrimRemovesSpacesAndFullWidthSpacesOnly) {
    EXPECT_EQ(t::trim("  a b  "), "a b");
    EXPECT_EQ(t::trim("\xA1\xA1 a \xA1\xA1"), "a");
    EXPECT_EQ(t::trim("\ta\r\n"), "\ta\r\n");
    EXPECT_EQ(t::trim("   "), "");
    EXPECT_EQ(t::trim(""), "");
    EXPECT_EQ(t::trimLeft("  a  "), "a  ");
    EXPECT_EQ(t::trimRight("  a  "), "  a");
    // A1 A1 that is not a character of its own is no blank: here the first
    // A1 is the trail of B0 A1.
    EXPECT_EQ(t::trimRight("\xB0\xA1\xA1"), "\xB0\xA1\xA1");
    EXPECT_EQ(t::trimRight("\xB0\xA1\xA1\xA1"), "\xB0\xA1");
    // a trailing space that is the trail byte of a character stays
    EXPECT_EQ(t::trimRight("\xB0 "), "\xB0 ");
}

TEST(TextBlanks, RemoveBlanksKeepsCharacters) {
    EXPECT_EQ(t::removeBlanks("n=John Doe; a = 1"), "n=JohnDoe;a=1");
    EXPECT_EQ(t::removeBlanks("\xA1\xA1x\xA1\xA1y"), "xy");
    EXPECT_EQ(t::removeBlanks("\xB0\xA1\xA1\xA1"), "\xB0\xA1");
    EXPECT_EQ(t::removeBlanks("\xB0 x"), "\xB0 x");
    EXPECT_EQ(t::removeBlanks("a\tb"), "a\tb");
}

TEST(TextLowerCase, FoldsAsciiLettersOnly) {
    EXPECT_EQ(t::toLowerAscii("HTTP://MyHost:8080/A"), "http://myhost:8080/a");
    EXPECT_EQ(t::toLowerAscii("\xB0\x41Z"), "\xB0\x41z");
    EXPECT_EQ(t::toLowerAscii("\xD6\xD0\xCE\xC4"), "\xD6\xD0\xCE\xC4");
    EXPECT_EQ(t::toLowerAscii("@[`{"), "@[`{");
}

struct SplitCase {
    std::string_view text;
    std::string_view delimiter;
    std::vector<std::string> expected;
};

class SplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, KeepsInnerAndLeadingEmptiesDropsTrailingOne) {
    EXPECT_EQ(t::split(GetParam().text, GetParam().delimiter), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SplitTest,
    ::testing::Values(SplitCase{"", ";", {}}, SplitCase{"a", ";", {"a"}}, SplitCase{"a;b", ";", {"a", "b"}},
                      SplitCase{"a;b;", ";", {"a", "b"}}, SplitCase{";a", ";", {"", "a"}},
                      SplitCase{"a;;b", ";", {"a", "", "b"}}, SplitCase{";", ";", {""}},
                      SplitCase{";;", ";", {"", ""}}, SplitCase{"a;b;;", ";", {"a", "b", ""}},
                      SplitCase{"a; b; c", "; ", {"a", "b", "c"}}, SplitCase{"abc", "", {"abc"}},
                      SplitCase{"1.1.1.1:80\r\n2.2.2.2:81\r\n", "\r\n", {"1.1.1.1:80", "2.2.2.2:81"}},
                      // the ';' inside a character is its trail byte, no delimiter
                      SplitCase{"a\xB0;b;c", ";", {"a\xB0;b", "c"}},
                      SplitCase{"\x95\x5C\\x", "\\", {"\x95\x5C", "x"}}));

TEST(TextReplaceAll, ReplacesLeftToRightAtBoundaries) {
    EXPECT_EQ(t::replaceAll("a#x#b", "#", "\""), "a\"x\"b");
    EXPECT_EQ(t::replaceAll("aaa", "aa", "b"), "ba");
    EXPECT_EQ(t::replaceAll("abc", "", "x"), "abc");
    EXPECT_EQ(t::replaceAll("\x95\x5C\\", "\\", "/"), "\x95\x5C/");
    EXPECT_EQ(t::replaceAll("", "a", "b"), "");
}

TEST(TextReplaceAll, LongTextStaysLinear) {
    std::string big;
    for (int i = 0; i < 200000; ++i) {
        big += "\xD6\xD0;";
    }
    EXPECT_EQ(t::split(big, ";").size(), 200000u);
    EXPECT_EQ(t::replaceAll(big, ";", "").size(), 400000u);
}

struct IntCase {
    std::string_view text;
    std::int32_t expected;
};

class ToIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(ToIntTest, ReadsTheLeadingNumber) {
    EXPECT_EQ(t::toInt(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ToIntTest,
    ::testing::Values(IntCase{"8080", 8080}, IntCase{"", 0}, IntCase{"abc", 0}, IntCase{"12ab", 12},
                      IntCase{"  -42", -42}, IntCase{"+7", 7}, IntCase{"\xA1\xA1 9", 9},
                      IntCase{"\xA3\xB8\xA3\xB0", 80},            // full-width 80
                      IntCase{"\xA3\xAD\xA3\xB1", -1},            // full-width minus one
                      IntCase{"8\xA3\xB0x", 80}, IntCase{"- 5", 0}, IntCase{"--5", 0}, IntCase{"\t5", 0},
                      IntCase{"2147483647", 2147483647}, IntCase{"2147483648", 2147483647},
                      IntCase{"99999999999999999999999", 2147483647}, IntCase{"-2147483648", -2147483647 - 1},
                      IntCase{"-99999999999999999999", -2147483647 - 1}, IntCase{"0008", 8}));

TEST(TextFromInt, WritesDecimal) {
    EXPECT_EQ(t::fromInt(0), "0");
    EXPECT_EQ(t::fromInt(-12), "-12");
    EXPECT_EQ(t::fromInt(4294967296LL), "4294967296");
}

}  // namespace

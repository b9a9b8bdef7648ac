#include "util/codepage.h"

#include <gtest/gtest.h>

#include <string>

#include "util/cp936_portable.h"

namespace c = velmora::codepage;
namespace p = velmora::codepage::portable;

namespace {

std::string bytes(std::string_view s) { return std::string(s); }

struct Utf8Case {
    std::string_view utf8;
    std::u16string_view utf16;
};

class Utf8DecodeTest : public ::testing::TestWithParam<Utf8Case> {};

TEST_P(Utf8DecodeTest, ReplacesEachMaximalIllFormedSubpart) {
    EXPECT_EQ(p::utf8ToUtf16(GetParam().utf8), GetParam().utf16);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Utf8DecodeTest,
    ::testing::Values(
        Utf8Case{"", u""}, Utf8Case{"abc", u"abc"}, Utf8Case{"\xE4\xB8\xAD", u"\u4E2D"},
        Utf8Case{"\xC2\xA9", u"\u00A9"}, Utf8Case{"\xEF\xBF\xBD", u"\uFFFD"},
        Utf8Case{"\xF0\x9F\x98\x80", u"\U0001F600"}, Utf8Case{"\xF4\x8F\xBF\xBF", u"\U0010FFFF"},
        Utf8Case{std::string_view("a\0b", 3), std::u16string_view(u"a\0b", 3)},
        // truncated sequences: one replacement for what was there
        Utf8Case{"\xE4\xB8", u"\uFFFD"}, Utf8Case{"\xE4\xB8" "A", u"\uFFFDA"}, Utf8Case{"\xC2", u"\uFFFD"},
        Utf8Case{"\xF0\x9F\x98", u"\uFFFD"}, Utf8Case{"\xF0\x9F\x98" "A", u"\uFFFDA"},
        // bytes that start nothing
        Utf8Case{"\x80", u"\uFFFD"}, Utf8Case{"\xBF\x80", u"\uFFFD\uFFFD"}, Utf8Case{"\xFF", u"\uFFFD"},
        Utf8Case{"\xF5\x80", u"\uFFFD\uFFFD"}, Utf8Case{"A\x80" "AB", u"A\uFFFDAB"},
        // overlong forms, surrogates and values above U+10FFFF
        Utf8Case{"\xC0\xAF", u"\uFFFD\uFFFD"}, Utf8Case{"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
        Utf8Case{"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"}, Utf8Case{"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
        Utf8Case{"\xF0\x80", u"\uFFFD\uFFFD"},
        // the Unicode standard's own example of the practice
        Utf8Case{"\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64",
                 u"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd"}));

struct GbkCase {
    std::string_view gbk;
    std::u16string_view utf16;
};

class GbkDecodeTest : public ::testing::TestWithParam<GbkCase> {};

TEST_P(GbkDecodeTest, DecodesAsCodePage936) {
    EXPECT_EQ(p::gbkToUtf16(GetParam().gbk), GetParam().utf16);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GbkDecodeTest,
    ::testing::Values(
        GbkCase{"", u""}, GbkCase{"\xD6\xD0\xCE\xC4", u"\u4E2D\u6587"}, GbkCase{"\xA1\xA1", u"\u3000"},
        GbkCase{"\x80", u"\u20AC"}, GbkCase{"\xFF", u"\uF8F5"}, GbkCase{"\x81\x40", u"\u4E02"},
        GbkCase{"\xAA\xA1", u"\uE000"}, GbkCase{"\xF8\xA1", u"\uE234"}, GbkCase{"\xA1\x40", u"\uE4C6"},
        GbkCase{"\xA2\xAB", u"\uE766"}, GbkCase{"\xFE\x50", u"\uE815"}, GbkCase{"\xFE\xFE", u"\uE4C5"},
        GbkCase{"\x95\x5C", u"\u661E"},
        // a lead byte takes any non-zero byte with it; no character gives '?'
        GbkCase{"\x81\x20", u"?"}, GbkCase{"\x81\x7F" "A", u"?A"}, GbkCase{"\x81\xFF", u"?"},
        GbkCase{"\x81", u"?"}, GbkCase{std::string_view("\x81\0A", 3), std::u16string_view(u"?\0A", 3)}));

TEST(Cp936Portable, EveryDoubleByteCodeRoundTrips) {
    int characters = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) {
                continue;
            }
            const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
            const std::u16string unit = p::gbkToUtf16(code);
            ASSERT_EQ(unit.size(), 1u) << std::hex << lead << trail;
            ASSERT_NE(unit[0], u'?') << std::hex << lead << trail;
            ASSERT_EQ(p::utf16ToGbk(unit, false), code) << std::hex << lead << trail;
            ++characters;
        }
    }
    EXPECT_EQ(characters, 126 * 190);
}

TEST(Cp936Portable, EncodesWhat936HasAndDefaultsTheRest) {
    EXPECT_EQ(p::utf16ToGbk(u"", false), "");
    EXPECT_EQ(p::utf16ToGbk(u"A\u4E2D\u20AC\uF8F5", false), "A\xD6\xD0\x80\xFF");
    EXPECT_EQ(p::utf16ToGbk(std::u16string_view(u"a\0b", 3), false), bytes(std::string_view("a\0b", 3)));
    EXPECT_EQ(p::utf16ToGbk(u"\uAC00", false), "?");           // Hangul
    EXPECT_EQ(p::utf16ToGbk(u"\U0001F600", false), "??");      // one per surrogate
    EXPECT_EQ(p::utf16ToGbk(u"\xD83D" u"x", false), "?x");     // a lone surrogate
    EXPECT_EQ(p::utf16ToGbk(u"\u00AA", false), "?");           // no look-alike letters
}

TEST(Cp936Portable, CompositeCheckComposesWhat936Has) {
    EXPECT_EQ(p::utf16ToGbk(u"e\u0301", true), "\xA8\xA6");   // e + acute = é
    EXPECT_EQ(p::utf16ToGbk(u"e\u0301", false), "e?");
    EXPECT_EQ(p::utf16ToGbk(u"a\u0308", true), "a?");          // ä is not in 936
    EXPECT_EQ(p::utf16ToGbk(u"u\u0308\u0304", true), "\xA8\xB9?");  // one mark at a time
    EXPECT_EQ(p::utf16ToGbk(u"\u0301e", true), "?e");
    EXPECT_EQ(p::utf16ToGbk(u"e", true), "e");
}

TEST(CodePage, EngineConversions) {
    EXPECT_EQ(c::utf8ToGbk("\xE4\xB8\xAD"), "\xD6\xD0");
    EXPECT_EQ(c::utf8ToGbk("plain ASCII 123 ~"), "plain ASCII 123 ~");
    EXPECT_EQ(c::utf8ToGbk(std::string_view("a\0b", 3)), bytes(std::string_view("a\0b", 3)));
    EXPECT_EQ(c::utf8ToGbk(""), "");
    EXPECT_EQ(c::utf8ToGbk("\xE2\x82\xAC"), "\x80");
    EXPECT_EQ(c::utf8ToGbk("\xF0\x9F\x98\x80!"), "?" "?!");
    EXPECT_EQ(c::utf8ToGbk("\xE4\xB8"), "?");  // U+FFFD has no 936 code either
    EXPECT_EQ(c::utf8ToGbk("\xE6\x82\xA8\xE7\x9A\x84IP\xE6\x98\xAF\xEF\xBC\x9A"), "您的IP是：");
}

TEST(CodePage, BoundaryConversionsRoundTrip) {
    const std::string text = "提取代理 proxy \xA1\xA1 1.2.3.4:80";
    EXPECT_EQ(c::utf16ToGbk(c::gbkToUtf16(text)), text);
    EXPECT_EQ(c::gbkToUtf16("\xD6\xD0"), u"\u4E2D");
    EXPECT_EQ(c::utf16ToGbk(u"e\u0301"), "e?");
}

}  // namespace

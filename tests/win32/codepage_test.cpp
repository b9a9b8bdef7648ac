// Our code page 936 rules against the system's: character boundaries, the
// portable table, and the conversions the program makes through Windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/codepage.h"
#include "util/cp936_portable.h"
#include "util/text.h"

namespace {

namespace c = velmora::codepage;
namespace p = velmora::codepage::portable;
namespace t = velmora::text;

constexpr UINT k936 = 936;

std::size_t systemCharLength(const std::string& s) {
    // CharNextExA stops at a zero byte, so the text it reads carries one.
    const char* next = CharNextExA(static_cast<WORD>(k936), s.c_str(), 0);
    return static_cast<std::size_t>(next - s.c_str());
}

std::u16string systemToUtf16(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) {
        return {};
    }
    const int units = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::u16string out(static_cast<std::size_t>(units), u'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()),
                        reinterpret_cast<wchar_t*>(out.data()), units);
    return out;
}

std::string systemToGbk(std::u16string_view wide, DWORD flags) {
    if (wide.empty()) {
        return {};
    }
    const auto* units = reinterpret_cast<const wchar_t*>(wide.data());
    const int size = WideCharToMultiByte(k936, flags, units, static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(k936, flags, units, static_cast<int>(wide.size()), out.data(), size, nullptr, nullptr);
    return out;
}

TEST(Cp936Boundaries, LeadBytesAreTheSystems) {
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(t::isLeadByte(static_cast<unsigned char>(b)), IsDBCSLeadByteEx(k936, static_cast<BYTE>(b)) != FALSE)
            << std::hex << b;
    }
}

TEST(Cp936Boundaries, EveryPairAndTruncatedTailStepsAsTheSystem) {
    for (int lead = 0; lead < 256; ++lead) {
        // The system cannot step over a zero byte, its terminator; our texts
        // have explicit lengths and take it as a character.
        const std::string alone{static_cast<char>(lead)};
        ASSERT_EQ(t::charLength(alone, 0), lead == 0 ? 1u : systemCharLength(alone)) << std::hex << lead;
        for (int trail = 0; trail < 256; ++trail) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail), 'x'};
            ASSERT_EQ(t::charLength(pair, 0), lead == 0 ? 1u : systemCharLength(pair))
                << std::hex << lead << " " << trail;
        }
    }
}

// A trail byte equal to an ASCII character ('\', '@', letters, '|', ...) is
// never the start of a match, in line with the system's stepping.
TEST(Cp936Boundaries, SearchNeverMatchesAtAnAsciiTrailByte) {
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0x7E; ++trail) {
            const std::string text{static_cast<char>(lead), static_cast<char>(trail)};
            ASSERT_EQ(systemCharLength(text), 2u);
            const std::string ascii{static_cast<char>(trail)};
            ASSERT_EQ(t::find(text, ascii), t::npos) << std::hex << lead << " " << trail;
            ASSERT_EQ(t::find(text + ascii, ascii), 2u);
            ASSERT_EQ(t::find(text, ascii, 1, true), t::npos);
        }
    }
}

TEST(Cp936Table, EveryCodeDecodesAsTheSystem) {
    for (int lead = 0; lead < 256; ++lead) {
        const std::string alone{static_cast<char>(lead)};
        ASSERT_EQ(p::gbkToUtf16(alone), systemToUtf16(k936, alone)) << std::hex << lead;
        for (int trail = 0; trail < 256; ++trail) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            ASSERT_EQ(p::gbkToUtf16(pair), systemToUtf16(k936, pair)) << std::hex << lead << " " << trail;
        }
    }
}

// Windows writes some characters 936 lacks as a look-alike ("best fit");
// the portable table writes '?' for them, as the system does when asked for
// no look-alikes. Every other code unit must agree.
TEST(Cp936Table, EveryCodeUnitEncodesAsTheSystemWithoutLookAlikes) {
    int lookAlikes = 0;
    for (int unit = 0; unit < 0x10000; ++unit) {
        const std::u16string one(1, static_cast<char16_t>(unit));
        const std::string ours = p::utf16ToGbk(one, false);
        ASSERT_EQ(ours, systemToGbk(one, WC_NO_BEST_FIT_CHARS)) << std::hex << unit;
        if (ours != systemToGbk(one, 0)) {
            ASSERT_EQ(ours, "?") << std::hex << unit;
            ++lookAlikes;
        }
    }
    // Small and known: letters with marks, full-width forms and the like.
    EXPECT_LT(lookAlikes, 1000);
}

struct Sample {
    const char* name;
    std::string utf8;
};

std::vector<Sample> samples() {
    return {
        {"empty", ""},
        {"ascii", "GET /ic.asp HTTP/1.1\r\nHost: 127.0.0.1\r\n"},
        {"chinese", "\xE6\x82\xA8\xE7\x9A\x84IP\xE6\x98\xAF\xEF\xBC\x9A[127.0.0.1]"},
        {"one character", "\xE4\xB8\xAD"},
        {"zero bytes inside", std::string("a\0b\0\xE4\xB8\xAD\0", 8)},
        {"euro and full-width", "\xE2\x82\xAC 100 \xEF\xBC\x91\xE3\x80\x80"},
        {"private use", "\xEE\x80\x80\xEE\x9D\xA6"},
        {"not in 936", "\xEA\xB0\x80 \xE0\xB8\x81 \xD8\xA7"},  // Hangul, Thai, Arabic
        {"outside the BMP", "\xF0\x9F\x98\x80\xF0\xA0\x80\x80"},
        {"composing marks", "e\xCC\x81 a\xCC\x88 u\xCC\x88\xCC\x84 \xCC\x81"},
        {"truncated at the end", "ab\xE4\xB8"},
        {"truncated inside", "\xE4\xB8" "A\xF0\x9F\x98" "B"},
        {"stray bytes", "A\x80\xBF\xFE\xFF" "B"},
        {"two-byte overlong", "\xC0\xAF\xC1\xBF"},
        {"lone lead", "\xC2"},
    };
}

TEST(CodePageConversions, PortableAgreesWithWindows) {
    for (const Sample& s : samples()) {
        SCOPED_TRACE(s.name);
        const std::u16string wide = systemToUtf16(CP_UTF8, s.utf8);
        EXPECT_EQ(p::utf8ToUtf16(s.utf8), wide);
        EXPECT_EQ(c::utf8ToUtf16(s.utf8), wide);
        EXPECT_EQ(p::utf8ToGbk(s.utf8), c::utf8ToGbk(s.utf8));
        EXPECT_EQ(p::utf8ToGbk(s.utf8), systemToGbk(wide, WC_COMPOSITECHECK));
        const std::string gbk = c::utf8ToGbk(s.utf8);
        EXPECT_EQ(p::gbkToUtf16(gbk), c::gbkToUtf16(gbk));
        EXPECT_EQ(p::utf16ToGbk(wide, false), c::utf16ToGbk(wide));
    }
}

TEST(CodePageConversions, EngineExamples) {
    EXPECT_EQ(c::utf8ToGbk("\xE4\xB8\xAD"), "\xD6\xD0");
    EXPECT_EQ(c::utf8ToGbk(""), "");
    EXPECT_EQ(c::utf8ToGbk(std::string_view("a\0b", 3)), std::string("a\0b", 3));
}

}  // namespace

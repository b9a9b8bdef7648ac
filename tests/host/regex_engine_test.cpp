#include "util/regex/matcher.h"
#include "util/regex/program.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#endif

namespace rx = velmora::regex;

namespace {

// Matches written as "start-end" of the whole match, then ",start-end" of
// each group ("_" for a group that took no part), matches separated by a
// space. Flags: i ignore case, m multiline, 1 first match only.
struct MatchCase {
    std::u16string_view pattern;
    std::u16string_view subject;
    std::string_view flags;
    std::string_view expected;
};

std::string describe(const rx::MatchList& m) {
    std::string out;
    for (int i = 0; i < m.count(); ++i) {
        if (i > 0) out += ' ';
        for (int g = 0; g <= m.groupCount; ++g) {
            if (g > 0) out += ',';
            out += m.start(i, g) < 0 ? std::string("_")
                                     : std::to_string(m.start(i, g)) + "-" + std::to_string(m.end(i, g));
        }
    }
    return out;
}

std::string toNarrow(std::u16string_view s) {
    std::string out;
    for (char16_t c : s) out += c < 128 ? static_cast<char>(c) : '?';
    return out;
}

rx::Options optionsOf(std::string_view flags) {
    return {flags.find('i') != std::string_view::npos, flags.find('m') != std::string_view::npos};
}

class RegexMatchTest : public ::testing::TestWithParam<MatchCase> {};

TEST_P(RegexMatchTest, FindsTheExpectedMatchesAndGroups) {
    const MatchCase& c = GetParam();
    rx::CompileError error = rx::CompileError::None;
    auto prog = rx::compile(c.pattern, optionsOf(c.flags), &error);
    ASSERT_TRUE(prog) << toNarrow(c.pattern) << " error " << static_cast<int>(error);
    const bool global = c.flags.find('1') == std::string_view::npos;
    for (rx::Engine engine : {rx::Engine::Fastest, rx::Engine::VmOnly}) {
        EXPECT_EQ(describe(rx::findAll(*prog, std::u16string(c.subject), global, engine)), c.expected)
            << "pattern " << toNarrow(c.pattern) << " subject " << toNarrow(c.subject)
            << (engine == rx::Engine::VmOnly ? " (VM)" : "");
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Table, RegexMatchTest, ::testing::Values(
    // the proxy pattern
    MatchCase{u"\\d+\\.\\d+\\.\\d+\\.\\d+\\:\\d+", u"1.2.3.4:80", "", "0-10"},
    MatchCase{u"\\d+\\.\\d+\\.\\d+\\.\\d+\\:\\d+", u"x1.2.3.4.5:80", "", "3-13"},
    MatchCase{u"\\d+\\.\\d+\\.\\d+\\.\\d+\\:\\d+", u"a 999.999.999.999:8080 b", "", "2-22"},
    MatchCase{u"\\d+\\.\\d+\\.\\d+\\.\\d+\\:\\d+", u"1.2.3.4:80\r\n5.6.7.8:8080\r\n", "", "0-10 12-24"},
    MatchCase{u"\\d+\\.\\d+\\.\\d+\\.\\d+\\:\\d+", u"1.2.3.4:80\r\n5.6.7.8:8080", "1", "0-10"},
    MatchCase{u"\\d+\\.\\d+\\.\\d+\\.\\d+\\:\\d+", u"1.2.3.4: 1.2.3:80 1..2.3.4:5", "", ""},
    MatchCase{u"\\d+\\.\\d+\\.\\d+\\.\\d+\\:\\d+", u"1.2.3.4:80:90", "", "0-10"},
    MatchCase{u"\\d+\\.\\d+\\.\\d+\\.\\d+\\:\\d+", u"01.2.3.4:5x6.7.8.9:10", "", "0-10 11-21"},
    MatchCase{u"\\d+\\.\\d+\\.\\d+\\.\\d+\\:\\d+", u"<td>10.0.0.1</td><td>:</td> 10.0.0.2:3128", "", "28-41"},
    // literals and escapes
    MatchCase{u"a\\.b", u"a.b axb", "", "0-3"},
    MatchCase{u"\\:", u"a:b", "", "1-2"},
    MatchCase{u"\\x41\\u0042", u"AB", "", "0-2"},
    MatchCase{u"\\x4", u"x4", "", "0-2"},
    MatchCase{u"\\u00e9", u"\u00e9", "", "0-1"},
    MatchCase{u"\\t\\n", u"a\t\nb", "", "1-3"},
    MatchCase{u"\\f\\v\\r", u"\f\v\r", "", "0-3"},
    MatchCase{u"\\cJ", u"a\nb", "", "1-2"},
    MatchCase{u"\\q\\-\\/", u"q-/", "", "0-3"},
    MatchCase{u"a]b}", u"a]b}", "", "0-4"},
    // classes
    MatchCase{u"[a-c]+", u"xxabcx", "", "2-5"},
    MatchCase{u"[^a-c]+", u"abxyc", "", "2-4"},
    MatchCase{u"[\\d.]+", u"ip 1.2.3 end", "", "3-8"},
    MatchCase{u"[a\\-z]+", u"b-az", "", "1-4"},
    MatchCase{u"[-a]+", u"x-a-", "", "1-4"},
    MatchCase{u"[a-]+", u"x-a-", "", "1-4"},
    MatchCase{u"[\\w]+", u"ab_1 c", "", "0-4 5-6"},
    MatchCase{u"[^\\s]+", u" ab cd ", "", "1-3 4-6"},
    MatchCase{u"[\\D]+", u"a1b", "", "0-1 2-3"},
    MatchCase{u"[\\b]", u"a\bb", "", "1-2"},
    MatchCase{u"[a-\\d]+", u"z-a5", "", "1-4"},
    MatchCase{u"[\\x30-\\x32]+", u"0123", "", "0-3"},
    MatchCase{u"[]a", u"a", "", ""},
    MatchCase{u"[^]", u"a\n", "", "0-1 1-2"},
    MatchCase{u"[.]", u"ab.", "", "2-3"},
    // predefined classes
    MatchCase{u"\\d+", u"a12b345", "", "1-3 4-7"},
    MatchCase{u"\\D+", u"a12b345", "", "0-1 3-4"},
    MatchCase{u"\\w+", u"hi, yo", "", "0-2 4-6"},
    MatchCase{u"\\W", u"a b", "", "1-2"},
    MatchCase{u"\\s+", u"a \t\r\n\f\vb", "", "1-7"},
    MatchCase{u"\\S+", u"a \t\r\nb", "", "0-1 5-6"},
    MatchCase{u"\\s", u"\u3000\u00a0", "", ""},
    MatchCase{u"\\d", u"\uff11", "", ""},
    // assertions
    MatchCase{u"\\bfoo\\b", u"foo foobar barfoo foo", "", "0-3 18-21"},
    MatchCase{u"\\Bo\\B", u"foo", "", "1-2"},
    MatchCase{u"\\b", u"ab cd", "", "0-0 2-2 3-3 5-5"},
    MatchCase{u"^ab", u"ab\nab", "", "0-2"},
    MatchCase{u"^ab", u"ab\nab", "m", "0-2 3-5"},
    MatchCase{u"ab$", u"ab\nab", "", "3-5"},
    MatchCase{u"ab$", u"ab\nab", "m", "0-2 3-5"},
    MatchCase{u"^$", u"a\n\nb", "m", "2-2"},
    MatchCase{u"^$", u"a\n\nb", "", ""},
    MatchCase{u"^", u"a\r\nb", "m", "0-0 2-2 3-3"},
    MatchCase{u"$", u"a\r\nb", "m", "1-1 2-2 4-4"},
    MatchCase{u"^.$", u"a\u2028b", "m", "0-1 2-3"},
    MatchCase{u".+", u"ab\r\ncd\u2029e", "", "0-2 4-6 7-8"},
    // alternation and priority
    MatchCase{u"a|ab", u"ab", "", "0-1"},
    MatchCase{u"ab|a", u"ab", "", "0-2"},
    MatchCase{u"(a|ab)(c|bcd)(d*)", u"abcd", "", "0-4,0-1,1-4,4-4"},
    MatchCase{u"x(a|)y", u"xy", "", "0-2,1-1"},
    MatchCase{u"a|", u"ba", "", "0-0 1-2 2-2"},
    MatchCase{u"cat|dog|bird", u"a dog, a bird", "", "2-5 9-13"},
    // quantifiers
    MatchCase{u"a*", u"baaa", "", "0-0 1-4 4-4"},
    MatchCase{u"a+?", u"aaa", "", "0-1 1-2 2-3"},
    MatchCase{u"a*?", u"aa", "", "0-0 1-1 2-2"},
    MatchCase{u"a??b", u"ab", "", "0-2"},
    MatchCase{u"x*?y", u"xxy", "", "0-3"},
    MatchCase{u"<.+>", u"<a><b>", "", "0-6"},
    MatchCase{u"<.+?>", u"<a><b>", "", "0-3 3-6"},
    MatchCase{u"a{2}", u"aaaaa", "", "0-2 2-4"},
    MatchCase{u"a{2,}", u"aaaaa", "", "0-5"},
    MatchCase{u"a{2,}?", u"aaaaa", "", "0-2 2-4"},
    MatchCase{u"a{2,3}", u"aaaaaaa", "", "0-3 3-6"},
    MatchCase{u"a{2,3}?", u"aaaaaaa", "", "0-2 2-4 4-6"},
    MatchCase{u"a{0}b", u"ab", "", "1-2"},
    MatchCase{u"a{,2}", u"a{,2}", "", "0-5"},
    MatchCase{u"x{", u"x{", "", "0-2"},
    MatchCase{u"(ab){2}", u"ababab", "", "0-4,2-4"},
    MatchCase{u"(a|b)*c", u"abac", "", "0-4,2-3"},
    MatchCase{u"(a+)(b+)?", u"aab aa", "", "0-3,0-2,2-3 4-6,4-6,_"},
    MatchCase{u"(a*)+", u"b", "", "0-0,0-0 1-1,1-1"},
    MatchCase{u"(a|aa)*b", u"aaab", "", "0-4,2-3"},
    MatchCase{u"(?:ab)+", u"abab", "", "0-4"},
    MatchCase{u"((a)|b)+", u"ab", "", "0-2,1-2,0-1"},
    MatchCase{u"(\\d+)\\.(\\d+)", u"v 10.25", "", "2-7,2-4,5-7"},
    MatchCase{u"(a)|(b)", u"ab", "", "0-1,0-1,_ 1-2,_,1-2"},
    MatchCase{u"(?:a|b)*?b", u"aabab", "", "0-3 3-5"},
    MatchCase{u"(a(b(c)))", u"abc", "", "0-3,0-3,1-3,2-3"},
    // ignoring case
    MatchCase{u"abc", u"xABCx aBc", "i", "1-4 6-9"},
    MatchCase{u"abc", u"ABC", "", ""},
    MatchCase{u"[a-z]+", u"Hello World", "i", "0-5 6-11"},
    MatchCase{u"[^a-z]+", u"ab12CD", "i", "2-4"},
    MatchCase{u"\\x41", u"a", "i", "0-1"},
    MatchCase{u"\u00e9\u03b1\u0436\uff41", u"\u00c9\u0391\u0416\uff21", "i", "0-4"},
    // empty matches step over a surrogate pair whole
    MatchCase{u"", u"a\U0001F600b", "", "0-0 1-1 3-3 4-4"},
    MatchCase{u"x*", u"\U0001F600", "", "0-0 2-2"},
    MatchCase{u".", u"\U0001F600", "", "0-1 1-2"},
    MatchCase{u"\\d+", u"12 34", "1", "0-2"}));
// clang-format on

struct ErrorCase {
    std::u16string_view pattern;
    rx::CompileError expected;
};

class RegexErrorTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(RegexErrorTest, RefusesToCompile) {
    const ErrorCase& c = GetParam();
    rx::CompileError error = rx::CompileError::None;
    EXPECT_FALSE(rx::compile(c.pattern, {}, &error)) << toNarrow(c.pattern);
    EXPECT_EQ(error, c.expected) << toNarrow(c.pattern);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RegexErrorTest,
    ::testing::Values(ErrorCase{u"(", rx::CompileError::Syntax}, ErrorCase{u"a)", rx::CompileError::Syntax},
                      ErrorCase{u"(a", rx::CompileError::Syntax}, ErrorCase{u"[a", rx::CompileError::Syntax},
                      ErrorCase{u"[z-a]", rx::CompileError::Syntax}, ErrorCase{u"a**", rx::CompileError::Syntax},
                      ErrorCase{u"*a", rx::CompileError::Syntax}, ErrorCase{u"a|+", rx::CompileError::Syntax},
                      ErrorCase{u"a{3,2}", rx::CompileError::Syntax}, ErrorCase{u"a\\", rx::CompileError::Syntax},
                      ErrorCase{u"^*", rx::CompileError::Syntax}, ErrorCase{u"\\b+", rx::CompileError::Syntax},
                      ErrorCase{u"\\c1", rx::CompileError::Syntax}, ErrorCase{u"[\\B]", rx::CompileError::Syntax},
                      ErrorCase{u"(?", rx::CompileError::Syntax},
                      ErrorCase{u"(?=a)", rx::CompileError::Unsupported},
                      ErrorCase{u"a(?!b)", rx::CompileError::Unsupported},
                      ErrorCase{u"(?<=a)b", rx::CompileError::Unsupported},
                      ErrorCase{u"(?<n>a)", rx::CompileError::Unsupported},
                      ErrorCase{u"(a)\\1", rx::CompileError::Unsupported},
                      ErrorCase{u"[\\1]", rx::CompileError::Unsupported},
                      ErrorCase{u"a{1001}", rx::CompileError::TooLarge},
                      ErrorCase{u"a{0,99999999999}", rx::CompileError::TooLarge},
                      ErrorCase{u"(?:a{1000}){1000}", rx::CompileError::TooLarge},
                      ErrorCase{u"((a{1000}){10}){10}", rx::CompileError::TooLarge}));

TEST(RegexLimits, NestingDepthIsBounded) {
    const std::u16string open(1000, u'(');
    const std::u16string close(1000, u')');
    EXPECT_TRUE(rx::compile(open + u"a" + close, {}));
    rx::CompileError error = rx::CompileError::None;
    EXPECT_FALSE(rx::compile(u"(" + open + u"a" + close + u")", {}, &error));
    EXPECT_EQ(error, rx::CompileError::TooLarge);
}

TEST(RegexLimits, ThreadMemoryIsBounded) {
    // Many groups times many instructions would make every thread carry a
    // huge capture array; compilation refuses before the matcher allocates.
    std::u16string many;
    for (int i = 0; i < 1500; ++i) many += u"(a)";
    rx::CompileError error = rx::CompileError::None;
    EXPECT_FALSE(rx::compile(many, {}, &error));
    EXPECT_EQ(error, rx::CompileError::TooLarge);
}

TEST(RegexLimits, LargestCountedRepetitionRuns) {
    auto prog = rx::compile(u"a{1000}", {});
    ASSERT_TRUE(prog);
    EXPECT_EQ(describe(rx::findAll(*prog, std::u16string(2500, u'a'), true)), "0-1000 1000-2000");
}

TEST(RegexSearch, DfaPastItsMemoryBudgetHandsOverToTheVm) {
    // "an a 18 units from the end" needs 2^19 DFA states: far past the budget.
    auto prog = rx::compile(u"(?:a|b)*a(?:a|b){18}", {});
    ASSERT_TRUE(prog);
    std::u16string subject;
    std::uint32_t x = 12345;
    for (int i = 0; i < 200000; ++i) {
        x = x * 1103515245u + 12345u;
        subject += (x >> 16) & 1 ? u'a' : u'b';
    }
    subject += u"ab";  // ends in a match of its own after the first one
    const std::string fast = describe(rx::findAll(*prog, subject, true));
    EXPECT_EQ(fast, describe(rx::findAll(*prog, subject, true, rx::Engine::VmOnly)));
    EXPECT_FALSE(fast.empty());
}

TEST(RegexSearch, StartsAtTheGivenPosition) {
    auto prog = rx::compile(u"\\d+", {});
    ASSERT_TRUE(prog);
    rx::Matcher m(*prog);
    std::int32_t slots[2] = {};
    const std::u16string s = u"12 345";
    ASSERT_TRUE(m.search(s, 1, slots));
    EXPECT_EQ(slots[0], 1);
    EXPECT_EQ(slots[1], 2);
    ASSERT_TRUE(m.search(s, 2, slots));
    EXPECT_EQ(slots[0], 3);
    EXPECT_FALSE(m.search(s, 6, slots));
}

TEST(RegexSearch, HostileSubjectsFinishAndMatchCorrectly) {
    // Inputs that make a backtracking engine take exponential or quadratic time.
    std::u16string digits;
    for (int i = 0; i < 20000; ++i) digits += u"1.";
    auto proxy = rx::compile(u"\\d+\\.\\d+\\.\\d+\\.\\d+\\:\\d+", {});
    ASSERT_TRUE(proxy);
    EXPECT_EQ(rx::findAll(*proxy, digits, true).count(), 0);
    digits += u"1.1:8";
    EXPECT_EQ(describe(rx::findAll(*proxy, digits, true)), "39996-40005");

    auto nested = rx::compile(u"(a|aa)*b", {});
    ASSERT_TRUE(nested);
    EXPECT_EQ(rx::findAll(*nested, std::u16string(30000, u'a'), true).count(), 0);
    auto stars = rx::compile(u"(a*)*b", {});
    ASSERT_TRUE(stars);
    EXPECT_EQ(rx::findAll(*stars, std::u16string(30000, u'a'), true).count(), 0);
}

// Compiles and runs patterns nested as deep as allowed over a long subject
// on a thread with a small stack: neither side may recurse with the input.
struct DeepRun {
    bool compiled = false;
    int matches = -1;
    std::int32_t end = -1;
    int proxies = -1;
    bool refused = false;
};

void deepRun(DeepRun* out) {
    const std::u16string pattern = std::u16string(1000, u'(') + u"a+" + std::u16string(1000, u')') + u"b";
    auto prog = rx::compile(pattern, {});
    out->compiled = prog != nullptr;
    if (prog) {
        std::u16string subject(20000, u'a');
        subject += u'b';
        const rx::MatchList m = rx::findAll(*prog, std::move(subject), true);
        out->matches = m.count();
        out->end = m.count() > 0 ? m.end(0, 0) : -1;
    }
    auto proxy = rx::compile(u"(\\d+)\\.(\\d+)\\.(\\d+)\\.(\\d+)\\:(\\d+)", {});
    if (proxy) {
        std::u16string answer;
        while (answer.size() < (std::size_t{1} << 20)) answer += u"127.0.0.1:8080\r\n";
        out->proxies = rx::findAll(*proxy, std::move(answer), true).count();
    }
    out->refused = rx::compile(std::u16string(100000, u'('), {}) == nullptr;
}

#ifdef _WIN32
DWORD WINAPI deepRunEntry(LPVOID arg) {
    deepRun(static_cast<DeepRun*>(arg));
    return 0;
}

bool runOnSmallStack(DeepRun& result) {
    HANDLE thread = CreateThread(nullptr, 64 * 1024, deepRunEntry, &result,
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread) return false;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return true;
}
#else
void* deepRunEntry(void* arg) {
    deepRun(static_cast<DeepRun*>(arg));
    return nullptr;
}

bool runOnSmallStack(DeepRun& result) {
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setstacksize(&attr, 64 * 1024);
    pthread_t thread;
    const bool started = pthread_create(&thread, &attr, deepRunEntry, &result) == 0;
    pthread_attr_destroy(&attr);
    if (started) pthread_join(thread, nullptr);
    return started;
}
#endif

TEST(RegexStack, DeepPatternAndLongSubjectRunOnA64KiBStack) {
    DeepRun result;
    ASSERT_TRUE(runOnSmallStack(result));
    EXPECT_TRUE(result.compiled);
    EXPECT_EQ(result.matches, 1);
    EXPECT_EQ(result.end, 20001);
    EXPECT_EQ(result.proxies, 65536);
    EXPECT_TRUE(result.refused);
}

}  // namespace

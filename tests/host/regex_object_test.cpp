#include "util/regex_object.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <thread>
#include <vector>

using velmora::RegexObject;

namespace {

constexpr std::string_view kProxy = "\\d+\\.\\d+\\.\\d+\\.\\d+\\:\\d+";

TEST(RegexObject, ProxyPatternFindsEveryAddressAsWritten) {
    RegexObject re;
    ASSERT_TRUE(re.create(kProxy, "1.2.3.4:80\r\n005.6.7.8:08080\r\n"));
    EXPECT_EQ(re.matchCount(), 2);
    EXPECT_EQ(re.matchText(1), "1.2.3.4:80");
    EXPECT_EQ(re.matchText(2), "005.6.7.8:08080");
    EXPECT_EQ(re.matchText(3), "");
    EXPECT_EQ(re.subMatchCount(), 0);
}

TEST(RegexObject, NotGlobalKeepsTheFirstMatchOnly) {
    RegexObject re;
    ASSERT_TRUE(re.create(kProxy, "1.2.3.4:80\r\n5.6.7.8:8080", true, true, false));
    EXPECT_EQ(re.matchCount(), 1);
    EXPECT_EQ(re.matchText(1), "1.2.3.4:80");
    EXPECT_EQ(re.replace("x"), "x\r\n5.6.7.8:8080");
}

TEST(RegexObject, InvalidPatternFailsAndLeavesNothingToRead) {
    RegexObject re;
    ASSERT_TRUE(re.create(kProxy, "1.2.3.4:80"));
    EXPECT_FALSE(re.create("(\\d+", "1.2.3.4:80"));
    EXPECT_EQ(re.matchCount(), 0);
    EXPECT_EQ(re.matchText(1), "");
    EXPECT_EQ(re.subMatchCount(), 0);
    EXPECT_EQ(re.replace("x"), "");
    EXPECT_EQ(re.pattern(), "(\\d+");
    EXPECT_FALSE(re.create("(a)\\1", "aa"));  // cannot run in linear time
}

TEST(RegexObject, ValidPatternWithoutMatch) {
    RegexObject re;
    EXPECT_TRUE(re.create(kProxy, "no proxies here"));
    EXPECT_EQ(re.matchCount(), 0);
    int position = 7;
    EXPECT_EQ(re.matchText(1, &position, true), "");
    EXPECT_EQ(position, 0);  // the empty text is found at the start
    EXPECT_EQ(re.replace("x"), "no proxies here");
    EXPECT_EQ(re.subMatchCount(), 0);
}

TEST(RegexObject, NothingBeforeTheFirstCreate) {
    const RegexObject re;
    EXPECT_EQ(re.pattern(), "");
    EXPECT_EQ(re.matchCount(), 0);
    EXPECT_EQ(re.replace("x"), "");
    int position = 7;
    EXPECT_EQ(re.subMatchText(1, 1, &position, true), "");
    EXPECT_EQ(position, -2);  // empty subject: the empty text is not found
}

TEST(RegexObject, SecondCreateForgetsTheFirst) {
    RegexObject re;
    ASSERT_TRUE(re.create("(\\d)(\\d)", "12 34 56"));
    ASSERT_TRUE(re.create("x", "axxb"));
    EXPECT_EQ(re.pattern(), "x");
    EXPECT_EQ(re.matchCount(), 2);
    EXPECT_EQ(re.subMatchCount(), 0);
    EXPECT_EQ(re.subMatchText(1, 1), "");
    EXPECT_EQ(re.replace("-"), "a--b");
}

TEST(RegexObject, DefaultOptionsIgnoreCaseAndAreMultiline) {
    RegexObject re;
    ASSERT_TRUE(re.create("^ab\\d$", "AB1\r\nab2\r\nxab3"));
    EXPECT_EQ(re.matchCount(), 2);
    EXPECT_EQ(re.matchText(2), "ab2");
    ASSERT_TRUE(re.create("^ab\\d$", "AB1\r\nab2\r\nxab3", false, false));
    EXPECT_EQ(re.matchCount(), 0);
}

TEST(RegexObject, PositionsCountBytesAfterTwoByteCharacters) {
    RegexObject re;
    ASSERT_TRUE(re.create(kProxy, "中文 1.2.3.4:80 代理5.6.7.8:9"));
    int position = -1;
    EXPECT_EQ(re.matchText(1, &position, true), "1.2.3.4:80");
    EXPECT_EQ(position, 5);
    EXPECT_EQ(re.matchText(2, &position, true), "5.6.7.8:9");
    EXPECT_EQ(position, 20);
    position = 99;
    re.matchText(2, &position, false);
    EXPECT_EQ(position, 99);
    EXPECT_EQ(re.matchText(2, nullptr, true), "5.6.7.8:9");
}

TEST(RegexObject, PositionIsTheMatchItselfNotAnEarlierCopy) {
    // The UTF-16 index (4) is two bytes short of the second match's byte
    // offset (6); a text search from there would land on the first match.
    RegexObject re;
    ASSERT_TRUE(re.create("x1", "中中x1x1"));
    int position = -1;
    EXPECT_EQ(re.matchText(2, &position, true), "x1");
    EXPECT_EQ(position, 6);
    ASSERT_TRUE(re.create("", "中a"));
    ASSERT_EQ(re.matchCount(), 3);
    re.matchText(3, &position, true);
    EXPECT_EQ(position, 3);
}

TEST(RegexObject, GroupTextsAndPositions) {
    RegexObject re;
    ASSERT_TRUE(re.create("(\\d+)\\.(\\d+)|(x)", "版本 1.1 x"));
    EXPECT_EQ(re.subMatchCount(), 3);
    int position = -1;
    EXPECT_EQ(re.subMatchText(1, 1, &position, true), "1");
    EXPECT_EQ(position, 5);
    EXPECT_EQ(re.subMatchText(1, 2, &position, true), "1");
    EXPECT_EQ(position, 7);
    EXPECT_EQ(re.subMatchText(1, 3, &position, true), "");  // took no part
    EXPECT_EQ(position, 5);
    EXPECT_EQ(re.subMatchText(2, 3, &position, true), "x");
    EXPECT_EQ(position, 9);
    for (auto [match, group] : {std::pair{0, 1}, {1, 0}, {1, 4}, {3, 1}, {-1, 1}}) {
        position = -1;
        EXPECT_EQ(re.subMatchText(match, group, &position, true), "") << match << "," << group;
        EXPECT_EQ(position, 0);
    }
    position = -1;
    EXPECT_EQ(re.matchText(0, &position, true), "");
    EXPECT_EQ(position, 0);
}

TEST(RegexObject, CopySharesMatchesAndKeepsItsOwnSubject) {
    RegexObject original;
    ASSERT_TRUE(original.create("(b+)", "abbcb"));
    RegexObject copy(original);
    ASSERT_TRUE(original.create("z", "zzz"));
    EXPECT_EQ(copy.pattern(), "(b+)");
    EXPECT_EQ(copy.matchCount(), 2);
    EXPECT_EQ(copy.subMatchText(2, 1), "b");
    EXPECT_EQ(copy.replace("[$1]"), "a[bb]c[b]");
    int position = -1;
    copy.matchText(2, &position, true);
    EXPECT_EQ(position, 4);

    RegexObject assigned;
    assigned = original;
    EXPECT_EQ(assigned.matchCount(), 3);
    assigned = RegexObject();
    EXPECT_EQ(assigned.matchCount(), 0);
    EXPECT_EQ(assigned.pattern(), "");
    EXPECT_EQ(original.matchCount(), 3);
}

TEST(RegexObject, RunOverUsesTheCompiledPatternOnAnotherSubjectFromManyThreads) {
    RegexObject compiled;
    ASSERT_TRUE(compiled.create("(B)\\d", "b1", true, true, true));
    // Several threads at once, each with its own subject, two-byte text before the match.
    std::vector<std::thread> threads;
    std::vector<std::string> found(4);
    for (std::size_t t = 0; t < found.size(); ++t) {
        threads.emplace_back([&, t] {
            const std::string subject = std::string("中b").append(1, static_cast<char>('0' + t)).append(" b9");
            for (int i = 0; i < 200; ++i) {
                const RegexObject run = compiled.runOver(subject, i % 2 == 0);
                int position = -1;
                const std::string text = run.matchText(1, &position, true);
                found[t] = text + "@" + std::to_string(position) + "/" + std::to_string(run.matchCount());
            }
        });
    }
    for (auto& thread : threads) thread.join();
    // The last run of each thread was not global: one match.
    for (std::size_t t = 0; t < found.size(); ++t) {
        EXPECT_EQ(found[t], std::string("b").append(1, static_cast<char>('0' + t)).append("@2/1"));
    }
    EXPECT_EQ(compiled.runOver("b2b3").replace("[$1]"), "[b][b]");
    EXPECT_EQ(compiled.matchText(1), "b1");  // the original keeps its own subject
}

struct ReplaceCase {
    std::string_view pattern;
    std::string_view subject;
    std::string_view replacement;
    std::string_view expected;
};

class RegexReplaceTest : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(RegexReplaceTest, ExpandsReferences) {
    const ReplaceCase& c = GetParam();
    RegexObject re;
    ASSERT_TRUE(re.create(c.pattern, c.subject));
    EXPECT_EQ(re.replace(c.replacement), c.expected) << c.replacement;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, RegexReplaceTest,
    ::testing::Values(ReplaceCase{"(\\w+)@(\\w+)", "joe@site, ann@home", "$2:$1", "site:joe, home:ann"},
                      ReplaceCase{"o", "foo", "[$&]", "f[o][o]"},
                      ReplaceCase{"b", "abc", "[$`]", "a[a]c"},
                      ReplaceCase{"b", "abc", "[$']", "a[c]c"},
                      ReplaceCase{"b", "abc", "$$", "a$c"},
                      ReplaceCase{"(b)", "abc", "$2$0$", "a$2$0$c"},
                      ReplaceCase{"(b)", "abc", "$10", "ab0c"},
                      ReplaceCase{"(b)", "abc", "$01", "abc"},
                      ReplaceCase{"(a)(b)(c)(d)(e)(f)(g)(h)(i)(j)", "abcdefghij", "$10$9", "ji"},
                      ReplaceCase{"(x)|b", "abc", "<$1>", "a<>c"},
                      ReplaceCase{"b", "abc", "$x", "a$xc"},
                      ReplaceCase{"x*", "ab", "-", "-a-b-"},
                      ReplaceCase{"\\d+", "端口80和8080", "号", "端口号和号"}));

}  // namespace

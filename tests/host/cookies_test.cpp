#include "http/cookies.h"

#include <gtest/gtest.h>

namespace h = velmora::http;

namespace {

struct MergeCase {
    std::string_view cookies;
    std::string_view newCookies;
    std::string_view merged;
    std::string_view newAfter;
};

class MergeCookiesTest : public ::testing::TestWithParam<MergeCase> {};

TEST_P(MergeCookiesTest, NewFirstThenSurvivingOld) {
    const MergeCase& c = GetParam();
    std::string cookies(c.cookies);
    std::string newCookies(c.newCookies);
    const std::string returned = h::mergeCookies(cookies, newCookies);
    EXPECT_EQ(cookies, c.merged);
    EXPECT_EQ(returned, c.merged);
    EXPECT_EQ(newCookies, c.newAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MergeCookiesTest,
    ::testing::Values(
        MergeCase{"a=1; b=2", "b=3", "b=3; a=1", "b=3"},
        MergeCase{"a=1; sid=x", "sid=deleted", "a=1", "sid=deleted"},
        MergeCase{"a=1; a=2", "", "a=1", ""},
        MergeCase{"", "c=3; c=4", "c=3; c=4", "c=3;c=4"},
        MergeCase{"", "c=3; c=3", "c=3", "c=3;c=3"},
        MergeCase{"n=John Doe", "", "n=JohnDoe", ""},
        MergeCase{"", "", "", ""},
        MergeCase{"", "x=1; y=2", "x=1; y=2", "x=1;y=2"},
        MergeCase{"k=1; z=9", "x=1; y=2", "x=1; y=2; k=1; z=9", "x=1;y=2"},
        // the name is what comes before the first '=', values may hold more
        MergeCase{"t=a=b", "t=c", "t=c", "t=c"},
        MergeCase{"flag; a=1", "flag", "flag; a=1", "flag"},
        // only an item that ends in "=deleted" disappears, and with it its old value
        MergeCase{"a=deleted", "", "", ""}, MergeCase{"a=1", "a=deletedX", "a=deletedX", "a=deletedX"},
        MergeCase{"\xA1\xA1" "a=1\xA1\xA1;b=2", "", "a=1; b=2", ""},
        MergeCase{"a=1;;b=2", "", "a=1; ; b=2", ""},
        // names compare exactly, case included
        MergeCase{"A=1", "a=2", "a=2; A=1", "a=2"},
        // a lone lead byte at the end would swallow the separator's ';'
        MergeCase{"o=1", "n=\xB0", "n=; o=1", "n="},
        MergeCase{"o=\xB0\xA1", "n=2", "n=2; o=\xB0\xA1", "n=2"}));

TEST(MergeCookies, LongTextsStayLinear) {
    std::string cookies;
    std::string newCookies;
    for (int i = 0; i < 50000; ++i) {
        // appended piece by piece: GCC 12 -O3 warns falsely on "o" + string
        cookies.append("o").append(std::to_string(i)).append("=1; ");
        newCookies.append("n").append(std::to_string(i % 1000)).append("=2;");
    }
    h::mergeCookies(cookies, newCookies);
    EXPECT_EQ(cookies.rfind("n0=2; n1=2; ", 0), 0u);
    EXPECT_TRUE(cookies.ends_with("; o49999=1"));
}

TEST(CookieName, TextBeforeTheFirstEqualsTrimmed) {
    EXPECT_EQ(h::cookieName("sid=1"), "sid");
    EXPECT_EQ(h::cookieName(" sid =1=2"), "sid");
    EXPECT_EQ(h::cookieName("flag"), "flag");
    EXPECT_EQ(h::cookieName("=v"), "");
    EXPECT_EQ(h::cookieName(""), "");
}

TEST(ContainsCookieName, ComparesNamesExactly) {
    const std::vector<std::string> list{"a=1", " b =2", "c"};
    EXPECT_TRUE(h::containsCookieName(list, "a"));
    EXPECT_TRUE(h::containsCookieName(list, "b"));
    EXPECT_TRUE(h::containsCookieName(list, "c"));
    EXPECT_FALSE(h::containsCookieName(list, "A"));
    EXPECT_FALSE(h::containsCookieName(list, "a=1"));
    EXPECT_FALSE(h::containsCookieName({}, ""));
}

TEST(DropDuplicateItems, KeepsFirstOccurrencesInOrder) {
    EXPECT_EQ(h::dropDuplicateItems("a; b; a; c; b", "; "), "a; b; c");
    EXPECT_EQ(h::dropDuplicateItems("a;A;a", ";"), "a;A");
    EXPECT_EQ(h::dropDuplicateItems("", "; "), "");
    EXPECT_EQ(h::dropDuplicateItems("a; ", "; "), "a");
    EXPECT_EQ(h::dropDuplicateItems("; a; ", "; "), "; a");
    EXPECT_EQ(h::dropDuplicateItems("x", ""), "x");
}

TEST(FindItem, FirstEqualPositionFromOne) {
    const std::vector<std::string> list{"a", "b", "a"};
    EXPECT_EQ(h::findItem(list, "a"), 1);
    EXPECT_EQ(h::findItem(list, "b"), 2);
    EXPECT_EQ(h::findItem(list, "c"), -1);
    EXPECT_EQ(h::findItem({}, ""), -1);
}

}  // namespace

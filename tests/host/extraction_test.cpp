#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "actions/list_actions.h"
#include "build_config.h"
#include "extract/answer_reducer.h"
#include "extract/form.h"
#include "extract/list_fill.h"
#include "support/memory_window.h"
#include "util/text.h"

namespace velmora::extract {
namespace {

TEST(UrlEncode, EveryByteClass) {
    struct Case {
        std::string in;
        std::string out;
    };
    const std::vector<Case> cases = {
        {"", ""},
        {"*,-./", "*,-./"},
        {"0123456789@_", "0123456789@_"},
        {"AZaz", "AZaz"},
        {" ", "%20"},
        {std::string(1, '\0'), "%00"},
        {"\x01\x0f\x10)", "%01%0F%10%29"},
        {"+", "%2B"},
        {":;<=>?", "%3A%3B%3C%3D%3E%3F"},
        {"[\\]^", "%5B%5C%5D%5E"},
        {"`", "%60"},
        {"{|}~\x7f", "%7B%7C%7D%7E%7F"},
        {"\x80\xff", "%80%FF"},
        {"&=%", "%26%3D%25"},
        {"电信", "%B5%E7%D0%C5"},
        {"提取", "%CC%E1%C8%A1"},
    };
    for (const auto& c : cases) EXPECT_EQ(UrlEncode(c.in), c.out) << c.in;
}

TEST(ExtractionHeaderLine, NameAndValue) {
    struct Case {
        std::string line;
        std::string name;
        std::string value;
    };
    const std::vector<Case> cases = {
        {"Accept: */*", "Accept", "*/*"},
        {"Referer: http://host:81", "Referer", "http://host:81"},
        {"  Name  :  value  ", "Name", "value"},
        {"\xA1\xA1Name\xA1\xA1:\xA1\xA1value\xA1\xA1", "Name", "value"},
        {"\tName:\tvalue\t", "\tName", "\tvalue\t"},
        {"no colon here", "", ""},
        {":", "", ""},
        {"Name:", "Name", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HeaderLineName(c.line), c.name) << c.line;
        EXPECT_EQ(HeaderLineValue(c.line), c.value) << c.line;
    }
}

TEST(ExtractionHeaderLine, ExtractionHeadersGiveFiveLinesInOrder) {
    const auto lines = HeaderLines(ExtractionHeaders);
    ASSERT_EQ(lines.size(), 5u);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Referer", "http://" VELMORA_SERVICE_HOST},
        {"Accept", "*/*"},
        {"Accept-Language", "zh-cn"},
        {"User-Agent",
         "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; T7WKX; .NET CLR 2.0.50727; "
         ".NET CLR 3.0.04506.648; .NET CLR 3.5.21022)"},
        {"Content-Type", "application/x-www-form-urlencoded"},
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(HeaderLineName(lines[i]), expected[i].first);
        EXPECT_EQ(HeaderLineValue(lines[i]), expected[i].second);
    }
    EXPECT_NE(ExtractionHeaders.substr(ExtractionHeaders.size() - 2), "\r\n");
}

TEST(ExtractionHeaderLine, BlockSplitting) {
    EXPECT_EQ(HeaderLines("A: 1"), std::vector<std::string>({"A: 1"}));
    EXPECT_EQ(HeaderLines(""), std::vector<std::string>({""}));
    EXPECT_EQ(HeaderLines("A: 1\r\n\r\nB: 2\r\n"), std::vector<std::string>({"A: 1", "B: 2"}));
    EXPECT_EQ(HeaderLines("\r\n"), std::vector<std::string>());
}

TEST(FormBody, FieldsInOrder) {
    struct Case {
        Filters filters;
        std::string body;
    };
    const std::vector<Case> cases = {
        {{"10", "", "", "", ""}, "tqsl=10&sxb=&ktip=&ports%5B%5D=&sxa=&submit=%CC%E1%C8%A1"},
        {{"10", "", "", "电信", ""},
         "tqsl=10&sxb=&ktip=&ports%5B%5D=&sxa=%B5%E7%D0%C5&submit=%CC%E1%C8%A1"},
        {{"", "北京", "8080", "", "127.0"},
         "tqsl=&sxb=%B1%B1%BE%A9&ktip=127.0&ports%5B%5D=8080&sxa=&submit=%CC%E1%C8%A1"},
        // Count, prefix and port pass unencoded, whatever they hold.
        {{"1 &x=2", "a b", "80&y", "", "1 2"},
         "tqsl=1 &x=2&sxb=a%20b&ktip=1 2&ports%5B%5D=80&y&sxa=&submit=%CC%E1%C8%A1"},
    };
    for (const auto& c : cases) EXPECT_EQ(FormBody(c.filters), c.body);
}

TEST(ReduceAnswer, MatchesInOrder) {
    struct Case {
        std::string answer;
        std::string result;
    };
    const std::vector<Case> cases = {
        {"", ""},
        {"<html>nothing here</html>", ""},
        {"<td>1.2.3.4:80</td><td>5.6.7.8:3128</td>", "1.2.3.4:80\r\n5.6.7.8:3128\r\n"},
        {"1.2.3.4.5:80", "2.3.4.5:80\r\n"},
        {"999.999.999.999:8080", "999.999.999.999:8080\r\n"},
        {"1.1.1.1:1 1.1.1.1:1", "1.1.1.1:1\r\n1.1.1.1:1\r\n"},
        {"1.2.3.4:5:6", "1.2.3.4:5\r\n"},
        {"1.2.3:80 1.2.3.4: 80", ""},
        {std::string("1.2.3.4:80\0" "5.6.7.8:90", 21), "1.2.3.4:80\r\n"},
        {std::string("\0" "1.2.3.4:80", 11), ""},
        {"电信1.2.3.4:80联通\xfe\xfe\x81\x40\r\n10.0.0.1:8080", "1.2.3.4:80\r\n10.0.0.1:8080\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReduceAnswer(c.answer).text, c.result) << c.answer;
        EXPECT_FALSE(ReduceAnswer(c.answer).truncated);
    }
}

// The answer arrives in pieces and is searched in segments; whatever the
// pieces, the items are those of one search over the whole answer.
TEST(ReduceAnswer, PiecesAndSegmentsFindWhatTheWholeAnswerHolds) {
    std::string answer;
    for (int i = 0; i < 30000; ++i) {
        answer += std::to_string(i % 256) + "." + std::to_string(i % 7) + ".0." + std::to_string(i % 99) +
                  ":" + std::to_string(i);
        // Items are separated by what real pages hold: markup, two-byte
        // characters, or a digit run that is no item.
        answer += i % 3 == 0 ? "</td><td>电信" : i % 3 == 1 ? "\xB5\xE7 " : "1.2.3 ";
    }
    const ProxyLines whole = ReduceAnswer(answer, 1'000'000);
    ASSERT_EQ(text::split(whole.text, "\r\n").size(), 30000u);
    for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{4096}, std::size_t{70000}}) {
        AnswerReducer reducer(1'000'000);
        for (std::size_t at = 0; at < answer.size(); at += piece) {
            ASSERT_TRUE(reducer.feed(std::string_view(answer).substr(at, piece)));
        }
        EXPECT_EQ(reducer.finish().text, whole.text) << "pieces of " << piece;
    }
}

TEST(ReduceAnswer, StopsReadingBeyondTheLimitAndSaysSo) {
    AnswerReducer reducer(3);
    std::string flood;
    for (int i = 0; i < 20000; ++i) flood += "1.1.1.1:80 ";
    bool wantsMore = true;
    std::size_t fed = 0;
    for (; wantsMore && fed < 100; ++fed) wantsMore = reducer.feed(flood);
    EXPECT_FALSE(wantsMore);
    EXPECT_LT(fed, 100u) << "a flood must not be read to its end";
    const ProxyLines result = reducer.finish();
    EXPECT_EQ(result.text, "1.1.1.1:80\r\n1.1.1.1:80\r\n1.1.1.1:80\r\n");
    EXPECT_TRUE(result.truncated);

    EXPECT_FALSE(ReduceAnswer("1.1.1.1:1 2.2.2.2:2 3.3.3.3:3", 3).truncated) << "exactly the limit";
    AnswerReducer ended;
    EXPECT_FALSE(ended.feed(std::string_view("1.1.1.1:1\0 2.2.2.2:2", 21)));
    EXPECT_EQ(ended.finish().text, "1.1.1.1:1\r\n");
}

class FillProxyListTest : public ::testing::Test {
protected:
    model::Row row(std::string n, std::string ip, std::string port, std::string region) {
        return {std::move(n), std::move(ip), std::move(port), "", "", std::move(region)};
    }
    fakes::MemoryWindow window;
};

TEST_F(FillProxyListTest, ReplacesRowsAndNumbersFromOne) {
    window.setRows({row("7", "9.9.9.9", "1", "本地"), row("8", "9.9.9.8", "2", "本地")});
    const std::string result = "1.2.3.4:80\r\n5.6.7.8:3128\r\n10.0.0.1:8080\r\n";
    FillProxyList(window, window, window, {result});
    EXPECT_EQ(window.rows(), (std::vector<model::Row>{row("1", "1.2.3.4", "80", "全国"),
                                                     row("2", "5.6.7.8", "3128", "全国"),
                                                     row("3", "10.0.0.1", "8080", "全国")}));
    EXPECT_EQ(window.keptResultText(), result);
    EXPECT_TRUE(window.messages().empty());

    FillProxyList(window, window, window, {"4.4.4.4:44\r\n"});
    EXPECT_EQ(window.rows(), (std::vector<model::Row>{row("1", "4.4.4.4", "44", "全国")}));
}

TEST_F(FillProxyListTest, RegionTextKeepsRegionColumnEmpty) {
    for (const std::string region : {"北京", " ", "\xA1\xA1"}) {
        window.setRegion(region);
        FillProxyList(window, window, window, {"1.2.3.4:80\r\n"});
        EXPECT_EQ(window.rows(), (std::vector<model::Row>{row("1", "1.2.3.4", "80", "")}));
    }
}

TEST_F(FillProxyListTest, LinesWithoutColonKeepOnlyTheirNumber) {
    FillProxyList(window, window, window, {"garbage\r\n\r\n1.2.3.4:80:9\r\n"});
    EXPECT_EQ(window.rows(), (std::vector<model::Row>{row("1", "", "", ""), row("2", "", "", ""),
                                                     row("3", "1.2.3.4", "80", "全国")}));
}

TEST_F(FillProxyListTest, EmptyResultShowsMessageAndKeepsEverything) {
    const std::vector<model::Row> before = {row("1", "9.9.9.9", "1", "全国")};
    window.setRows(before);
    window.keepResultText("9.9.9.9:1\r\n");
    FillProxyList(window, window, window, {});
    EXPECT_EQ(window.rows(), before);
    EXPECT_EQ(window.keptResultText(), "9.9.9.9:1\r\n");
    ASSERT_EQ(window.messages().size(), 1u);
    EXPECT_EQ(window.messages()[0].text, "获取失败!!!");
    EXPECT_TRUE(window.messages()[0].warning);
}

// RegionEdit is read as the rows go in, so a region typed while rows arrive
// applies to the rows filled afterwards.
TEST_F(FillProxyListTest, RegionIsReadAsTheRowsArrive) {
    int trips = 0;
    window.afterEachRowsTrip([&] {
        // The first trip replaces the list, the second brings row 1.
        if (++trips == 2) window.setRegion("上海");
    });
    FillProxyList(window, window, window, {"1.1.1.1:1\r\n2.2.2.2:2\r\n3.3.3.3:3\r\n"}, 1);
    EXPECT_EQ(window.rows(), (std::vector<model::Row>{row("1", "1.1.1.1", "1", "全国"),
                                                     row("2", "2.2.2.2", "2", ""),
                                                     row("3", "3.3.3.3", "3", "")}));
}

TEST_F(FillProxyListTest, AResultCutAtTheLimitIsToldOnceAfterTheRows) {
    FillProxyList(window, window, window, {"1.1.1.1:1\r\n2.2.2.2:2\r\n", true});
    EXPECT_EQ(window.rowCount(), 2);
    ASSERT_EQ(window.messages().size(), 1u);
    EXPECT_EQ(window.messages()[0].text, "找到的代理太多，只列出了前100000个。");
}

// Whatever clears the list while rows still arrive (a newer extraction, an
// import, "清除全部", "清除无效") takes it over: the older fill's later
// batches are dropped, and it says nothing.
TEST_F(FillProxyListTest, AFillStopsOnceTheListWasClearedBehindIt) {
    const std::vector<std::pair<const char*, std::function<void()>>> clearings = {
        {"newer extraction", [&] { FillProxyList(window, window, window, {"9.9.9.9:9\r\n"}); }},
        {"清除全部", [&] { actions::removeAllRows(window); }},
        {"清除无效", [&] { actions::removeFailedRows(window); }},
    };
    for (const auto& [name, clear] : clearings) {
        SCOPED_TRACE(name);
        window.setRows({});
        std::vector<model::Row> afterClear;
        int trips = 0;
        window.afterEachRowsTrip([&] {
            if (++trips != 2) return;
            clear();
            afterClear = window.rows();
        });
        FillProxyList(window, window, window, {"1.1.1.1:1\r\n2.2.2.2:2\r\n3.3.3.3:3\r\n", true}, 1);
        window.afterEachRowsTrip({});
        EXPECT_EQ(window.rows(), afterClear);
        EXPECT_TRUE(window.messages().empty());
    }
}

}  // namespace
}  // namespace velmora::extract

// The extraction request through the real WinHttp component against the
// stand-in extraction service (tests/servers/extraction_service.py).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "build_config.h"
#include "extract/extraction.h"
#include "extract/form.h"
#include "http/engine.h"
#include "http/winhttp_post_win.h"
#include "util/text.h"

namespace velmora::extract {
namespace {

std::string hex(std::string_view bytes) {
    std::string out;
    char digits[3];
    for (const char c : bytes) {
        std::snprintf(digits, sizeof digits, "%02x", static_cast<unsigned char>(c));
        out += digits;
    }
    return out;
}

// A control call to the service, made with the request engine so that it
// does not depend on the request under test.
std::string serviceCall(std::string_view verb, std::string_view path, std::string_view body = {}) {
    const std::string url = "http://" VELMORA_SERVICE_HOST + std::string(path);
    return http::HttpEngine::request(url, {.method = verb == "POST" ? 1 : 0, .postText = body});
}

struct RecordedRequest {
    std::string requestLine;
    std::vector<std::string> headerLines;
    std::string bodyHex;
};

RecordedRequest lastRequest() {
    RecordedRequest recorded;
    const std::string text = serviceCall("GET", "/_last");
    const auto end = text::find(text, "\r\n\r\n");
    if (end == text::npos) return recorded;
    recorded.bodyHex = text.substr(end + 4);
    std::vector<std::string> lines = text::split(std::string_view(text).substr(0, end), "\r\n");
    if (lines.empty()) return recorded;
    recorded.requestLine = lines.front();
    recorded.headerLines.assign(lines.begin() + 1, lines.end());
    return recorded;
}

// The lines of `expected` appear in `lines` in the same order.
bool inOrder(const std::vector<std::string>& lines, const std::vector<std::string>& expected) {
    std::size_t next = 0;
    for (const auto& line : lines) {
        if (next < expected.size() && line == expected[next]) ++next;
    }
    return next == expected.size();
}

class ExtractionServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(serviceCall("POST", "/_reset"), "ok")
            << "the extraction service does not answer on " VELMORA_SERVICE_HOST;
    }
    void TearDown() override { serviceCall("POST", "/_reset"); }
    void mode(std::string_view name) { ASSERT_EQ(serviceCall("POST", "/_mode", name), "ok"); }

    // Limits short enough for the tests that wait for them.
    static http::RequestLimits shortLimits() {
        http::RequestLimits limits = kExtractionLimits;
        limits.receiveTimeoutMs = 2000;
        limits.deadlineMs = 3000;
        return limits;
    }
};

TEST_F(ExtractionServiceTest, StartValuesArriveExactly) {
    const Filters filters{"10", "", "", "", ""};
    const std::string result = RequestProxyText(filters).text;
    EXPECT_EQ(text::split(result, "\r\n").size(), 10u);
    EXPECT_EQ(result.substr(0, 34), "127.0.0.1:18190\r\n127.0.0.1:18191\r\n");

    const RecordedRequest recorded = lastRequest();
    EXPECT_EQ(recorded.requestLine, "POST /Qrovanext7.php");
    EXPECT_EQ(recorded.bodyHex, hex("tqsl=10&sxb=&ktip=&ports%5B%5D=&sxa=&submit=%CC%E1%C8%A1"));
    EXPECT_TRUE(inOrder(recorded.headerLines,
                        {"Referer: http://" VELMORA_SERVICE_HOST, "Accept: */*",
                         "Accept-Language: zh-cn",
                         "User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; T7WKX; "
                         ".NET CLR 2.0.50727; .NET CLR 3.0.04506.648; .NET CLR 3.5.21022)",
                         "Content-Type: application/x-www-form-urlencoded"}))
        << ::testing::PrintToString(recorded.headerLines);
}

TEST_F(ExtractionServiceTest, FiltersChooseProxiesAndTravelByteForByte) {
    const Filters filters{"3", "北京", "3128", "电信", "127.3"};
    const std::string result = RequestProxyText(filters).text;
    const auto lines = text::split(result, "\r\n");
    ASSERT_EQ(lines.size(), 3u) << result;
    for (const auto& line : lines) {
        EXPECT_EQ(line.substr(0, 6), "127.3.") << line;
        EXPECT_EQ(line.substr(line.size() - 5), ":3128") << line;
    }
    EXPECT_EQ(lastRequest().bodyHex, hex(FormBody(filters)));
    EXPECT_NE(hex(FormBody(filters)).find(hex("&sxa=%B5%E7%D0%C5&")), std::string::npos);
}

TEST_F(ExtractionServiceTest, UnencodedNonAsciiFieldsKeepTheirBytes) {
    // A text body would reach the service re-encoded; the bytes must not change.
    const Filters filters{"十", "", "８０", "", "一 &"};
    RequestProxyText(filters);
    EXPECT_EQ(lastRequest().bodyHex, hex(FormBody(filters)));
}

TEST_F(ExtractionServiceTest, AnswersWithoutProxiesGiveEmptyText) {
    const Filters filters{"10", "", "", "", ""};
    for (const char* name : {"empty", "error"}) {
        mode(name);
        EXPECT_EQ(RequestProxyText(filters).text, "") << name;
    }
}

TEST_F(ExtractionServiceTest, ErrorStatusIsSearchedLikeAnyAnswer) {
    mode("error-proxy");
    EXPECT_EQ(RequestProxyText({"2", "", "", "", ""}).text, "127.0.0.1:18190\r\n127.0.0.1:18191\r\n");
}

TEST_F(ExtractionServiceTest, BinaryAnswerIsCutAtTheFirstZeroByte) {
    mode("junk");
    const std::string result = RequestProxyText({"2", "", "", "", ""}).text;
    EXPECT_NE(result.find("127.0.0.1:18190\r\n"), std::string::npos) << result;
    EXPECT_EQ(result.find("127.8.8.8:8"), std::string::npos) << result;
}

TEST_F(ExtractionServiceTest, LargeAnswerIsSearchedUpToTheCap) {
    mode("huge size=3000000");
    const Filters filters{"2", "", "", "", ""};
    EXPECT_EQ(RequestProxyText(filters).text,
              "127.0.0.1:18190\r\n127.0.0.1:18191\r\n127.9.9.9:9\r\n");
    http::RequestLimits capped = kExtractionLimits;
    capped.maxBodyBytes = 1 << 20;
    EXPECT_EQ(RequestProxyText(filters, capped).text, "127.0.0.1:18190\r\n127.0.0.1:18191\r\n");
}

TEST_F(ExtractionServiceTest, AnswersThatNeverEndAreRefusedInTime) {
    const Filters filters{"2", "", "", "", ""};
    for (const char* name : {"endless", "stall", "silent"}) {
        mode(name);
        EXPECT_EQ(RequestProxyText(filters, shortLimits()).text, "") << name;
    }
}

TEST_F(ExtractionServiceTest, EndlessFloodIsReadUpToTheCap) {
    mode("flood");
    EXPECT_EQ(RequestProxyText({"2", "", "", "", ""}, shortLimits()).text,
              "127.0.0.1:18190\r\n127.0.0.1:18191\r\n");
}

TEST_F(ExtractionServiceTest, RefusedHeaderDoesNotStopTheRequest) {
    const std::string body = "a=1";
    std::string answer;
    EXPECT_TRUE(http::postForm("http://" VELMORA_SERVICE_HOST "/Qrovanext7.php",
                         {{"", ""}, {"X-Probe", "1"}}, body, kExtractionLimits,
                         [&](std::string_view bytes) {
                             answer += bytes;
                             return true;
                         }));
    EXPECT_FALSE(answer.empty());
    const RecordedRequest recorded = lastRequest();
    EXPECT_TRUE(inOrder(recorded.headerLines, {"X-Probe: 1"}));
    EXPECT_EQ(recorded.bodyHex, hex(body));
}

TEST(PostForm, UnreachableOrInvalidTargetGivesNothing) {
    // Nothing listens on 18199.
    const auto sink = [](std::string_view) { return true; };
    EXPECT_FALSE(http::postForm("http://127.0.0.1:18199/Qrovanext7.php", {}, "a=1", {}, sink));
    EXPECT_FALSE(http::postForm("not an address", {}, "a=1", {}, sink));
    EXPECT_FALSE(http::postForm("", {}, "", {}, sink));
}

}  // namespace
}  // namespace velmora::extract

// The extraction request through the real WinHttp component against the
// stand-in extraction service (tests/servers/extraction_service.py), and the
// COM member calls it is built on.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "build_config.h"
#include "extract/extraction.h"
#include "extract/form.h"
#include "extract/winhttp_post_win.h"
#include "util/com_dispatch_win.h"
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

// A control call to the service: plain synchronous request, text answer.
std::string serviceCall(std::string_view verb, std::string_view path, std::string_view body = {}) {
    com::Apartment apartment;
    com::DispatchRef request;
    if (!request.create("WinHttp.WinHttpRequest.5.1")) return {};
    const std::string url = "http://" VELMORA_SERVICE_HOST + std::string(path);
    com::callVariant(request, "Open", {verb, url, false});
    com::callVariant(request, "Send", {body});
    return com::callText(request, "ResponseText");
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

    // Bounds short enough for the tests that wait for them.
    static RequestBounds shortBounds() {
        RequestBounds bounds;
        bounds.receiveMilliseconds = 2000;
        bounds.totalSeconds = 3;
        return bounds;
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
        << text::join(recorded.headerLines, "\n");
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
    RequestBounds capped;
    capped.maxAnswerBytes = 1 << 20;
    EXPECT_EQ(RequestProxyText(filters, capped).text, "127.0.0.1:18190\r\n127.0.0.1:18191\r\n");
}

TEST_F(ExtractionServiceTest, AnswersThatNeverEndAreRefusedInTime) {
    const Filters filters{"2", "", "", "", ""};
    for (const char* name : {"endless", "stall", "silent"}) {
        mode(name);
        EXPECT_EQ(RequestProxyText(filters, shortBounds()).text, "") << name;
    }
}

TEST_F(ExtractionServiceTest, EndlessFloodIsReadUpToTheCap) {
    mode("flood");
    EXPECT_EQ(RequestProxyText({"2", "", "", "", ""}, shortBounds()).text,
              "127.0.0.1:18190\r\n127.0.0.1:18191\r\n");
}

TEST_F(ExtractionServiceTest, RefusedHeaderDoesNotStopTheRequest) {
    const std::string body = "a=1";
    std::string answer;
    EXPECT_TRUE(postForm("http://" VELMORA_SERVICE_HOST "/Qrovanext7.php",
                         {{"", ""}, {"X-Probe", "1"}}, body, RequestBounds{},
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
    EXPECT_FALSE(postForm("http://127.0.0.1:18199/Qrovanext7.php", {}, "a=1", {}, sink));
    EXPECT_FALSE(postForm("not an address", {}, "a=1", {}, sink));
    EXPECT_FALSE(postForm("", {}, "", {}, sink));
}

TEST(ComDispatch, CreateCallAndConvert) {
    com::Apartment apartment;
    com::DispatchRef regex;
    ASSERT_TRUE(regex.create("VBScript.RegExp"));
    EXPECT_TRUE(com::putProperty(regex, "Global", true));
    EXPECT_TRUE(com::putProperty(regex, "Pattern", "\\d+"));
    EXPECT_EQ(com::callText(regex, "Global"), "-1");
    EXPECT_TRUE(com::callBool(regex, "Global"));
    EXPECT_EQ(com::callText(regex, "Pattern"), "\\d+");

    const com::DispatchRef matches = com::callObject(regex, "Execute", {"电信 12 联通 345"});
    ASSERT_TRUE(matches);
    EXPECT_EQ(com::callNumber(matches, "Count"), 2.0);
    const com::DispatchRef second = com::callObject(matches, "Item", {1.0});
    EXPECT_EQ(com::callText(second, "Value"), "345");
    EXPECT_EQ(com::callNumber(second, "FirstIndex"), 9.0);
    EXPECT_EQ(com::callText(com::callObject(matches, "Item", {std::int32_t{0}}), "Value"), "12");

    const com::DispatchRef copy = regex;
    EXPECT_EQ(copy.get(), regex.get());
}

TEST(ComDispatch, ClassIdInBraces) {
    com::Apartment apartment;
    com::DispatchRef regex;
    ASSERT_TRUE(regex.create("{3F4DACA4-160D-11D2-A8E9-00104B365C9F}"));
    EXPECT_TRUE(com::putProperty(regex, "IgnoreCase", false));
    EXPECT_EQ(com::callText(regex, "IgnoreCase"), "0");
}

TEST(ComDispatch, FailuresGiveEmptyResults) {
    com::Apartment apartment;
    com::DispatchRef missing;
    EXPECT_FALSE(missing.create("Velmora.NoSuchClass.1"));
    EXPECT_FALSE(missing.create(""));
    EXPECT_FALSE(missing.create("{not a class id}"));
    EXPECT_FALSE(missing);
    EXPECT_EQ(com::callText(missing, "Anything"), "");
    EXPECT_FALSE(com::putProperty(missing, "Anything", 1));
    missing.reset();

    com::DispatchRef regex;
    ASSERT_TRUE(regex.create("VBScript.RegExp"));
    EXPECT_EQ(com::callText(regex, "NoSuchMember"), "");
    EXPECT_EQ(com::callNumber(regex, "NoSuchMember"), 0.0);
    EXPECT_FALSE(com::putProperty(regex, "NoSuchMember", "x"));
    // An invalid pattern makes the component raise an error.
    com::putProperty(regex, "Pattern", "(");
    EXPECT_FALSE(com::callObject(regex, "Execute", {"abc"}));
    EXPECT_TRUE(com::callBytes(regex, "Pattern").empty());
}

TEST(ComDispatch, ByteArraysBothWays) {
    const unsigned char bytes[] = {0, 1, 0x80, 0xFF, 'a'};
    VARIANT value;
    VariantInit(&value);
    ASSERT_TRUE(com::Argument(std::span<const unsigned char>(bytes)).fill(value));
    EXPECT_EQ(V_VT(&value), VT_ARRAY | VT_UI1);
    EXPECT_EQ(com::variantBytes(value), std::vector<unsigned char>(bytes, bytes + 5));
    EXPECT_EQ(com::variantBytes(value, 2), std::vector<unsigned char>(bytes, bytes + 2));
    VariantClear(&value);
    ASSERT_TRUE(com::Argument(std::span<const unsigned char>()).fill(value));
    EXPECT_TRUE(com::variantBytes(value).empty());
    VariantClear(&value);
}

}  // namespace
}  // namespace velmora::extract

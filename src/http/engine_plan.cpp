#include "http/engine_plan.h"

#include "http/url.h"
#include "util/text.h"

namespace velmora::http {

namespace {

constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kUserAgent = "User-Agent:";

void appendLine(std::string& headers, std::string_view line) {
    headers += kCrLf;
    headers += line;
}

}  // namespace

bool isHttpsAddress(std::string_view url) {
    return text::toLowerAscii(url.substr(0, 5)) == "https";
}

// The value runs to the end of the User-Agent line. Taking the text after the
// first colon of the whole header block instead (when the line is the last
// one) would hand WinINet an agent made of other header lines.
std::string agentText(std::string_view extraHeaders) {
    const std::size_t at = text::find(extraHeaders, kUserAgent, 0, true);
    if (at == text::npos) return std::string(kDefaultAgent);
    const std::size_t valueStart = at + kUserAgent.size();
    const std::size_t lineEnd = text::find(extraHeaders, kCrLf, valueStart);
    const std::string_view value =
        text::trim(extraHeaders.substr(valueStart, lineEnd == text::npos ? text::npos : lineEnd - valueStart));
    return value.empty() ? std::string(kDefaultAgent) : std::string(value);
}

std::string completeHeaders(std::string_view extraHeaders, std::string_view url,
                            std::string_view cookies) {
    std::string headers(extraHeaders);
    if (!text::contains(headers, "Referer:")) {
        if (headers.empty()) {
            headers = "Referer: " + std::string(url);
        } else {
            appendLine(headers, "Referer: " + std::string(url));
        }
    }
    if (!text::contains(headers, "Accept:")) appendLine(headers, "Accept: */*");
    if (!text::contains(headers, "Accept-Language:")) appendLine(headers, "Accept-Language: zh-cn");
    if (!text::contains(headers, "Content-Type:")) {
        appendLine(headers, "Content-Type: application/x-www-form-urlencoded");
    }
    // Added on every call, also after a redirect, so the current text travels.
    if (!cookies.empty()) appendLine(headers, "Cookie: " + std::string(cookies));
    return headers;
}

std::uint32_t requestFlags(std::string_view url, bool cookiesGiven, bool noRedirect) {
    std::uint32_t flags = wininet::kFlagReload | wininet::kFlagNeedFile;
    if (cookiesGiven) flags |= wininet::kFlagNoCookies;
    if (noRedirect) flags |= wininet::kFlagNoAutoRedirect;
    flags |= isHttpsAddress(url) ? wininet::kFlagSecure : wininet::kFlagIgnoreRedirectToHttps;
    return flags;
}

RequestPlan planRequest(const PlanInput& input) {
    RequestPlan plan;
    plan.verb = input.method == 1 ? "POST" : "GET";
    plan.agent = agentText(input.extraHeaders);
    if (input.proxy) {
        plan.accessType = wininet::kOpenTypeProxy;
        plan.proxyName = "http=" + std::string(*input.proxy);
    }
    plan.host = urlHost(input.url);
    plan.port = urlPort(input.url);
    plan.path = urlPath(input.url);
    plan.flags = requestFlags(input.url, input.cookiesGiven, input.noRedirect);
    plan.headers = completeHeaders(input.extraHeaders, input.url, input.cookies);
    plan.postBytes = std::string(input.postBytes);
    if (input.method != 0) {
        if (plan.postBytes.empty()) plan.postBytes = std::string(input.postText);
        plan.sendsBody = !plan.postBytes.empty();
    }
    return plan;
}

}  // namespace velmora::http

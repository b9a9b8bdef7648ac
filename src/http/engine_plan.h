// What the request engine sends: computed from the call's parameters alone.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::http {

// The WinINet constants the plan uses, by value, so the core needs no
// Windows header.
namespace wininet {
inline constexpr std::uint32_t kOpenTypeDirect = 1;
inline constexpr std::uint32_t kOpenTypeProxy = 3;
inline constexpr std::uint32_t kFlagReload = 0x80000000;
inline constexpr std::uint32_t kFlagNeedFile = 0x00000010;
inline constexpr std::uint32_t kFlagNoCookies = 0x00080000;
inline constexpr std::uint32_t kFlagNoAutoRedirect = 0x00200000;
inline constexpr std::uint32_t kFlagSecure = 0x00800000;
inline constexpr std::uint32_t kFlagIgnoreRedirectToHttps = 0x00004000;
}  // namespace wininet

inline constexpr std::string_view kDefaultAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; T7WKX; .NET CLR 2.0.50727; "
    ".NET CLR 3.0.04506.648; .NET CLR 3.5.21022)";

// The parameters a plan depends on, with omitted ones already resolved.
struct PlanInput {
    std::string_view url{};
    int method = 0;
    std::string_view postText{};
    bool cookiesGiven = false;
    std::string_view cookies{};
    std::string_view extraHeaders{};
    bool noRedirect = false;
    std::string_view postBytes{};
    std::optional<std::string_view> proxy{};
};

struct RequestPlan {
    std::string verb;
    std::string agent;
    std::uint32_t accessType = wininet::kOpenTypeDirect;
    // Only for kOpenTypeProxy: "http=" + proxy, with an empty bypass list.
    std::string proxyName;
    std::string host;
    int port = 80;
    std::string path;
    std::uint32_t flags = 0;
    // The completed extraHeaders, sent as the header text.
    std::string headers;
    // The completed postBytes; sent as the body only when sendsBody.
    std::string postBytes;
    bool sendsBody = false;
};

RequestPlan planRequest(const PlanInput& input);

// The agent text for InternetOpenA: the value of the caller's User-Agent line,
// else the default.
std::string agentText(std::string_view extraHeaders);

// extraHeaders with the default lines it lacks (and the Cookie line) appended.
std::string completeHeaders(std::string_view extraHeaders, std::string_view url,
                            std::string_view cookies);

std::uint32_t requestFlags(std::string_view url, bool cookiesGiven, bool noRedirect);

// Whether the address's first five characters are "https" in any case.
bool isHttpsAddress(std::string_view url);

}  // namespace velmora::http

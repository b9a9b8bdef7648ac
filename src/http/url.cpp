#include "http/url.h"

#include "util/text.h"

namespace velmora::http {

namespace {

// Lets a marker that holds a double quote be written without one.
constexpr std::string_view kQuoteToken = "#引号";

std::string markerText(std::string_view marker) { return text::replaceAll(marker, kQuoteToken, "\""); }

// Offset just after the scheme marker that urlHost starts the host from: a
// leading "https://", else the first "http://", else 0.
std::size_t schemeEnd(std::string_view address) {
    constexpr std::string_view kHttps = "https://";
    constexpr std::string_view kHttp = "http://";
    if (text::toLowerAscii(address.substr(0, kHttps.size())) == kHttps) {
        return kHttps.size();
    }
    const std::size_t http = text::find(address, kHttp, 0, true);
    return http == text::npos ? 0 : http + kHttp.size();
}

}  // namespace

std::string textBetween(std::string_view source, std::string_view front, std::string_view back) {
    const std::string frontMarker = markerText(front);
    const std::string backMarker = markerText(back);
    const std::size_t frontAt = text::find(source, frontMarker, 0, true);
    if (frontAt == text::npos) {
        return {};
    }
    const std::size_t start = frontAt + frontMarker.size();
    const std::size_t backAt = text::find(source, backMarker, start, true);
    if (backAt == text::npos) {
        return {};
    }
    return std::string(source.substr(start, backAt - start));
}

std::string headerValue(std::string_view line) {
    const std::size_t colon = text::find(line, ":");
    if (colon == text::npos) {
        return {};
    }
    return std::string(text::trim(line.substr(colon + 1)));
}

std::string urlHost(std::string_view address, bool keepPort) {
    std::string lowered = text::toLowerAscii(address);
    if (lowered.empty() || lowered.back() != '/') {
        lowered += '/';
    }
    std::string hostPart;
    if (lowered.starts_with("https://")) {
        hostPart = textBetween(lowered, "https://", "/");
    } else {
        if (!text::contains(lowered, "http://")) {
            lowered.insert(0, "http://");
        }
        hostPart = textBetween(lowered, "http://", "/");
    }
    if (keepPort) {
        return hostPart;
    }
    // Cuts at the first colon, so "user:password@host" gives the user name;
    // addresses with user information are not supported.
    const std::size_t colon = text::find(hostPart, ":");
    return colon == text::npos ? hostPart : hostPart.substr(0, colon);
}

int urlPort(std::string_view address) {
    const std::string hostPart = urlHost(address, true);
    const std::size_t colon = text::findLast(hostPart, ":");
    if (colon != text::npos) {
        return text::toInt(std::string_view(hostPart).substr(colon + 1));
    }
    return text::toLowerAscii(address.substr(0, 5)) == "https" ? 443 : 80;
}

std::string urlPath(std::string_view address) {
    const std::string host = urlHost(address, false);
    // The host is looked for after the scheme, where urlHost took it from:
    // a host such as "t" or "ht" would otherwise be found inside "http://".
    std::size_t hostAt = text::find(address, host, schemeEnd(address), true);
    if (hostAt == text::npos) {
        hostAt = 0;  // only an empty address has no host in it
    }
    const std::size_t slash = text::find(address, "/", hostAt);
    if (slash == text::npos) {
        return "/";
    }
    return std::string(address.substr(slash));
}

}  // namespace velmora::http

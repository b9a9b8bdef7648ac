#include "http/engine_interpret.h"

#include "http/url.h"
#include "util/codepage.h"
#include "util/text.h"

namespace velmora::http {

namespace {

constexpr std::string_view kUtf8 = "utf-8";
constexpr std::size_t kUtf8SearchStarts = 499;

bool startsWithScheme(std::string_view address) {
    const std::string lower = text::toLowerAscii(address.substr(0, 8));
    return lower.starts_with("http://") || lower.starts_with("https://");
}

std::string schemeOf(std::string_view url) {
    return text::toLowerAscii(url.substr(0, 8)).starts_with("https://") ? "https://" : "http://";
}

}  // namespace

std::string failedHeaderText() { return std::string(kRawHeaderBufferSize, ' '); }

HeaderFacts readHeaderLines(std::string_view rawHeaders) {
    HeaderFacts facts;
    for (const std::string& line : text::split(rawHeaders, "\r\n")) {
        if (text::contains(line, "Location:")) facts.location = headerValue(line);
        if (text::contains(line, "Set-Cookie")) {
            facts.returnedCookies += text::trim(textBetween(line, "Set-Cookie:", ";"));
            facts.returnedCookies += "; ";
        }
    }
    if (!facts.returnedCookies.empty()) facts.returnedCookies.resize(facts.returnedCookies.size() - 2);
    return facts;
}

bool isMovedPermanently(std::string_view rawHeaders) {
    return textBetween(rawHeaders, "HTTP/1.1 ", " Moved") == "301";
}

std::string redirectAddress(std::string_view location, std::string_view currentUrl) {
    if (location.starts_with("/")) {
        return schemeOf(currentUrl) + urlHost(currentUrl, true) + std::string(location);
    }
    const std::size_t hostStart = startsWithScheme(location) ? location.find("//") + 2 : 0;
    if (location.find('/', hostStart) != std::string_view::npos) return std::string(location);
    return std::string(location) + urlPath(currentUrl);
}

// A plain byte search: the marker is ASCII, and in a UTF-8 body the program's
// two-byte stepping would misread three-byte characters before it.
bool isUtf8Body(std::string_view body, std::string_view rawHeaders) {
    const std::size_t at = body.find(kUtf8);
    if (at != std::string_view::npos && at < kUtf8SearchStarts) return true;
    return text::contains(rawHeaders, kUtf8, true);
}

std::string bodyText(std::string_view body, std::string_view rawHeaders) {
    const bool utf8 = isUtf8Body(body, rawHeaders);
    const std::string_view kept = body.substr(0, body.find('\0'));
    return utf8 ? codepage::utf8ToGbk(kept) : std::string(kept);
}

}  // namespace velmora::http

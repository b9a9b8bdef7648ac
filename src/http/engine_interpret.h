// How the request engine reads an answer: pure functions of the header text
// and the body.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::http {

inline constexpr std::size_t kRawHeaderBufferSize = 5000;

// What stands in rawHeaders when the header query failed.
std::string failedHeaderText();

struct HeaderFacts {
    // The value of the last line holding "Location:"; nullopt when none.
    std::optional<std::string> location;
    // The name=value items of the Set-Cookie lines, joined by "; ".
    std::string returnedCookies;
};

HeaderFacts readHeaderLines(std::string_view rawHeaders);

// The status line says "HTTP/1.1 301 Moved".
bool isMovedPermanently(std::string_view rawHeaders);

// Where a 301 from `currentUrl` leads. A Location of scheme and host only
// gets the current path appended; one with a path of its own is taken as it
// is; a path alone ("/x") stays on the current scheme, host and port.
std::string redirectAddress(std::string_view location, std::string_view currentUrl);

// "utf-8" starts within the body's first 499 bytes, or the headers name it in
// any case.
bool isUtf8Body(std::string_view body, std::string_view rawHeaders);

// The body as program text: converted from UTF-8 when it is UTF-8, cut at its
// first zero byte.
std::string bodyText(std::string_view body, std::string_view rawHeaders);

}  // namespace velmora::http

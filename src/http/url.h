// Address splitting and text extraction used by the request engine.
#pragma once

#include <string>
#include <string_view>

namespace velmora::http {

// The text strictly between the first occurrence of `front` (case-folded
// search) and the first occurrence of `back` at or after the byte that follows
// it (case-folded too); empty when either is missing. In both markers the
// token "#引号" stands for a double quote.
std::string textBetween(std::string_view text, std::string_view front, std::string_view back);

// Everything after the first ':' of `text`, trimmed of blanks; empty when
// there is no colon.
std::string headerValue(std::string_view text);

// Host part of an address, lower-cased; with keepPort the ":port" stays.
std::string urlHost(std::string_view address, bool keepPort = false);

// Explicit port, else 443 for "https" addresses, else 80.
int urlPort(std::string_view address);

// From the first '/' after the host to the end (query included); "/" when none.
std::string urlPath(std::string_view address);

}  // namespace velmora::http

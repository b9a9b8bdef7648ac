// A form POST over WinHTTP whose time and answer size are bounded.
//
// The session is synchronous: every read happens on the calling thread, so
// stopping early and closing the handles is always safe. (The scripting
// component on top of WinHTTP buffers the whole answer on a thread of its
// own, and aborting it in the middle of a read corrupts its heap under Wine.)
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "extract/extraction.h"

namespace velmora::extract {

using RequestHeader = std::pair<std::string, std::string>;  // name, value

// Posts `body` byte for byte to `url` with the headers added in order (one
// that WinHTTP refuses is left out). Returns the answer's body, at most bounds.maxAnswerBytes of
// it; empty when the request fails or the answer is not complete within
// bounds.totalSeconds. The status code is not looked at.
std::vector<unsigned char> postForm(std::string_view url,
                                    const std::vector<RequestHeader>& headers,
                                    std::string_view body, const RequestBounds& bounds);

}  // namespace velmora::extract

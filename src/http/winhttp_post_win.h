// A form POST over WinHTTP whose time and answer size are bounded.
//
// The session is synchronous: every read happens on the calling thread, so
// stopping early and closing the handles is always safe. (The scripting
// component on top of WinHTTP buffers the whole answer on a thread of its
// own, and aborting it in the middle of a read corrupts its heap under Wine.)
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "http/request_limits.h"

namespace velmora::http {

using RequestHeader = std::pair<std::string, std::string>;  // name, value

// Takes the answer's next bytes; returns false when it wants no more.
using AnswerSink = std::function<bool(std::string_view bytes)>;

// Posts `body` byte for byte to `url` with the headers added in order (one
// that WinHTTP refuses is left out) and hands the answer's body to `sink` as
// it arrives, at most limits.maxBodyBytes of it. Reading ends early when
// the sink wants no more. False when the request fails or the answer is
// still arriving after limits.deadlineMs: what the sink got then does not
// count. The status code is not looked at.
bool postForm(std::string_view url, const std::vector<RequestHeader>& headers,
              std::string_view body, const http::RequestLimits& limits, const AnswerSink& sink);

}  // namespace velmora::http

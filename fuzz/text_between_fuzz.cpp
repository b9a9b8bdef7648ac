// Text conventions and textBetween on any bytes: no crash, and results that
// are pieces of the input found at character boundaries.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>

#include "http/url.h"
#include "util/text.h"
#include "max_len.h"
#include "require.h"

using velmora::fuzz::require;

// The markers are at most 16 bytes and every search steps one character at
// a time, keeping nothing but its place: longer texts repeat what shorter
// ones do.
VELMORA_FUZZ_MAX_LEN(512)

namespace {

bool isBoundary(std::string_view s, std::size_t pos) {
    std::size_t at = 0;
    while (at < pos) {
        at += velmora::text::charLength(s, at);
    }
    return at == pos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace t = velmora::text;
    FuzzedDataProvider input(data, size);
    const std::string front = input.ConsumeRandomLengthString(16);
    const std::string back = input.ConsumeRandomLengthString(16);
    const bool ignoreCase = input.ConsumeBool();
    const std::string text = input.ConsumeRemainingBytesAsString();

    const std::string between = velmora::http::textBetween(text, front, back);
    require(between.empty() || text.find(between) != std::string::npos);

    const std::size_t hit = t::find(text, front, 0, ignoreCase);
    if (hit != t::npos) {
        require(isBoundary(text, hit));
        require(t::toLowerAscii(text.substr(hit, front.size())).size() == front.size());
    }
    const std::size_t last = t::findLast(text, back, ignoreCase);
    require(last == t::npos || isBoundary(text, last));

    const auto pieces = t::split(text, front);
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i > 0) joined += front;
        joined += pieces[i];
    }
    require(joined == text || joined + front == text);

    require(t::trim(text).size() <= text.size());
    require(t::removeBlanks(text).size() <= text.size());
    require(t::toLowerAscii(text).size() == text.size());
    t::replaceAll(text, front, back);
    t::toInt(text);
    velmora::http::headerValue(text);
    return 0;
}

// Any service answer: no crash, and every result line is an address and port
// that stands in the answer before its first zero byte; the answer read in
// pieces gives the same lines, or their first ones and `truncated` when fewer
// are wanted; the list gets one numbered row per line. Also: percent-encoding
// uses only its own alphabet.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "extract/answer_reducer.h"
#include "extract/form.h"
#include "extract/list_fill.h"
#include "support/memory_window.h"
#include "util/text.h"
#include "max_len.h"
#include "require.h"

using velmora::fuzz::require;

// An item is a few dozen bytes, and the segments below scale with the answer,
// so a short answer holds any arrangement of items and cuts a long one does.
VELMORA_FUZZ_MAX_LEN(256)

namespace {

bool isAddressLine(std::string_view line) {
    int dots = 0;
    int colons = 0;
    bool digitBefore = false;
    for (const char c : line) {
        if (c >= '0' && c <= '9') {
            digitBefore = true;
        } else if ((c == '.' && colons == 0) || c == ':') {
            if (!digitBefore) return false;
            (c == '.' ? dots : colons) += 1;
            digitBefore = false;
        } else {
            return false;
        }
    }
    return dots == 3 && colons == 1 && digitBefore;
}

bool encodedAlphabet(std::string_view encoded) {
    for (const char c : encoded) {
        const bool plain = c == '*' || c == ',' || c == '-' || c == '.' || c == '/' || c == '%' ||
                           c == '@' || c == '_' || (c >= '0' && c <= '9') ||
                           (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (!plain) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view answer(reinterpret_cast<const char*>(data), size);
    const std::string_view beforeZero = answer.substr(0, answer.find('\0'));
    const std::string result = velmora::extract::ReduceAnswer(answer).text;
    require(result.empty() || result.ends_with("\r\n"));
    // Piece and segment sizes taken from the input, so that the cuts move.
    // Every segment's search sets up a matcher of its own, which costs more
    // than the rest, so a segment is at least a third of the answer: a few
    // searches each time, and cuts as close as wanted in a shorter one.
    const std::size_t piece = size == 0 ? 1 : 1 + data[0] % 61;
    const std::size_t segment = std::max<std::size_t>(size < 2 ? 1 : 1 + data[1] % 97, size / 3);
    // Now and then only a few lines are wanted.
    const std::size_t wanted = size >= 3 && data[2] < 16 ? data[2] : velmora::model::kMaxListedRows;
    velmora::extract::AnswerReducer reducer(wanted, segment);
    for (std::size_t at = 0; at < size && reducer.feed(answer.substr(at, piece)); at += piece) {
    }
    const velmora::extract::ProxyLines pieces = reducer.finish();
    std::size_t firstLines = 0;
    for (std::size_t n = 0; n < wanted && firstLines < result.size(); ++n) {
        firstLines = result.find("\r\n", firstLines) + 2;
    }
    require(pieces.text == result.substr(0, firstLines));
    require(pieces.truncated == (firstLines < result.size()));
    const auto lines = velmora::text::split(result, "\r\n");
    for (const auto& line : lines) {
        require(isAddressLine(line));
        require(beforeZero.find(line) != std::string_view::npos);
    }

    velmora::fakes::MemoryWindow window;
    velmora::extract::FillProxyList(window, window, window, {result});
    require(static_cast<std::size_t>(window.rowCount()) == lines.size());
    require(window.messages().size() == (result.empty() ? 1u : 0u));

    const std::string encoded = velmora::extract::UrlEncode(answer);
    require(encodedAlphabet(encoded));
    require(encoded.size() >= size && encoded.size() <= 3 * size);
    return 0;
}

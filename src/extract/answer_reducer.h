// The service's answer reduced to what an extraction lists: every
// "address:port" in it, one per line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "model/proxy_rows.h"

namespace velmora::extract {

// What an extraction found: every "address:port" of the answer's bytes up to
// the first zero byte, in answer order, each followed by CR LF (empty when
// none), at most a given number of them; `truncated` when the answer held more.
struct ProxyLines {
    std::string text;
    bool truncated = false;
};

// Finds the "address:port" items of an answer that arrives in pieces, exactly
// as one search over the whole answer would, while holding only a bounded
// part of it: the answer is searched in segments cut after bytes that can be
// part of no item (below 0x80, not a digit, "." or ":"), so no item spans
// two segments and every cut lies between two characters.
class AnswerReducer {
public:
    static constexpr std::size_t kSegmentBytes = 64 * 1024;

    explicit AnswerReducer(std::size_t maxLines = static_cast<std::size_t>(model::kMaxListedRows),
                           std::size_t segmentBytes = kSegmentBytes)
        : maxLines_(maxLines), segmentBytes_(segmentBytes) {}

    // Takes the next bytes. False once nothing more is wanted: the answer
    // ended at a zero byte, or more than maxLines items were found.
    bool feed(std::string_view bytes);
    ProxyLines finish();

private:
    bool wantsMore() const { return !ended_ && !truncated_; }
    void search(std::string_view segment);

    std::size_t maxLines_;
    std::size_t segmentBytes_;
    std::string pending_;
    std::size_t pendingCut_ = 0;  // pending_[0, pendingCut_) can be searched
    std::string lines_;
    std::size_t found_ = 0;
    bool truncated_ = false;
    bool ended_ = false;
};

// The whole answer at once.
ProxyLines ReduceAnswer(std::string_view answer,
                        std::size_t maxLines = static_cast<std::size_t>(model::kMaxListedRows));

}  // namespace velmora::extract

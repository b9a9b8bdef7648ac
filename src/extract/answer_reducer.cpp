#include "extract/answer_reducer.h"

#include "util/regex_object.h"

namespace velmora::extract {

namespace {

// Compiled once for the process; every segment of every answer runs it.
// Never destroyed, so that a worker still searching at exit finds it whole.
const RegexObject& addressPattern() {
    static const RegexObject* const compiled = [] {
        auto* regex = new RegexObject;
        regex->create("\\d+\\.\\d+\\.\\d+\\.\\d+\\:\\d+", {});
        return regex;
    }();
    return *compiled;
}

constexpr std::string_view kLineEnd = "\r\n";

// A byte below 0x80 ends whatever character it belongs to (it is never a
// lead byte), and unless it is a digit, "." or ":" no address item contains it.
bool cutsAfter(unsigned char b) {
    return b < 0x80 && !(b >= '0' && b <= '9') && b != '.' && b != ':';
}

}  // namespace

bool AnswerReducer::feed(std::string_view bytes) {
    if (!wantsMore()) return false;
    const auto zero = bytes.find('\0');
    if (zero != std::string_view::npos) {
        bytes = bytes.substr(0, zero);
        ended_ = true;
    }
    for (std::size_t i = bytes.size(); i-- > 0;) {
        if (cutsAfter(static_cast<unsigned char>(bytes[i]))) {
            pendingCut_ = pending_.size() + i + 1;
            break;
        }
    }
    pending_.append(bytes);
    if (pendingCut_ >= segmentBytes_) {
        search(std::string_view(pending_).substr(0, pendingCut_));
        pending_.erase(0, pendingCut_);
        pendingCut_ = 0;
    }
    return wantsMore();
}

ProxyLines AnswerReducer::finish() {
    if (!truncated_) search(pending_);
    pending_.clear();
    pendingCut_ = 0;
    return {std::move(lines_), truncated_};
}

void AnswerReducer::search(std::string_view segment) {
    if (segment.empty() || truncated_) return;
    const RegexObject regex = addressPattern().runOver(segment);
    const int count = regex.matchCount();
    for (int n = 1; n <= count; ++n) {
        if (found_ == maxLines_) {
            truncated_ = true;
            return;
        }
        lines_ += regex.matchText(n);
        lines_ += kLineEnd;
        ++found_;
    }
}

ProxyLines ReduceAnswer(std::string_view answer, std::size_t maxLines) {
    AnswerReducer reducer(maxLines);
    reducer.feed(answer);
    return reducer.finish();
}

}  // namespace velmora::extract

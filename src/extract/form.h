// The extraction request as data: the form body, the fixed header lines and
// the reduction of the service's answer to lines of "address:port".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ui/proxy_rows.h"

namespace velmora::extract {

// The five filters, each exactly as its control holds it.
struct Filters {
    std::string count;
    std::string region;
    std::string port;
    std::string carrier;
    std::string prefix;
};

// Percent-encodes every byte except * , - . / 0-9 @ A-Z _ a-z. Works on
// bytes, so a two-byte character gives two escapes.
std::string UrlEncode(std::string_view text);

// The parts of a header line before and after its first ":", trimmed of
// blanks (tabs are kept); empty when the line has no ":".
std::string HeaderLineName(std::string_view line);
std::string HeaderLineValue(std::string_view line);

// The five header lines sent with every extraction, joined by CR LF, without
// a line end after the last.
extern const std::string_view ExtractionHeaders;

// The request address of the service.
extern const std::string_view ExtractionUrl;

// A header block as lines: one line when it holds no CR LF, otherwise the
// non-empty pieces between CR LFs, in order.
std::vector<std::string> HeaderLines(std::string_view block);

// The form body. Count, prefix and port go unencoded, region and carrier
// percent-encoded; the field order is what the service expects.
std::string FormBody(const Filters& filters);

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

    explicit AnswerReducer(std::size_t maxLines = static_cast<std::size_t>(ui::kMaxListedRows),
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
                        std::size_t maxLines = static_cast<std::size_t>(ui::kMaxListedRows));

}  // namespace velmora::extract

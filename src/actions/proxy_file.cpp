#include "actions/proxy_file.h"

#include <vector>

namespace velmora::actions {

namespace {

constexpr std::string_view kLineEnds{"\n\0\x1a", 3};
constexpr std::size_t kReadChunk = 64 * 1024;
// A file of junk holds no proxy to send, and so no batch that would notice a
// list cleared meanwhile; it is asked after this many bytes instead.
constexpr std::size_t kBytesPerCheck = 4 * 1024 * 1024;

}  // namespace

void ProxyFileReader::feed(std::string_view bytes) {
    while (!bytes.empty() && !done()) {
        const std::size_t end = bytes.find_first_of(kLineEnds);
        if (end == std::string_view::npos) {
            take(bytes);
            return;
        }
        take(bytes.substr(0, end));
        endLine();
        bytes.remove_prefix(end + 1);
    }
}

void ProxyFileReader::finish() {
    if (!line_.empty() || overlong_) endLine();
    flush();
}

void ProxyFileReader::take(std::string_view part) {
    if (overlong_) return;
    // One byte of slack for the CR that a line end may still drop.
    if (line_.size() + part.size() > kMaxProxyLineBytes + 1) {
        overlong_ = true;
        line_.clear();
        return;
    }
    line_.append(part);
}

void ProxyFileReader::endLine() {
    if (!overlong_ && !done()) {
        if (!line_.empty() && line_.back() == '\r') line_.pop_back();
        if (line_.size() <= kMaxProxyLineBytes) {
            if (std::optional<ProxyPieces> proxy = splitProxyText(line_)) {
                if (rowsAdded_ == maxRows_) {
                    truncated_ = true;
                } else {
                    waiting_.push_back(std::move(*proxy));
                    ++rowsAdded_;
                    if (waiting_.size() == model::kRowsPerTrip) flush();
                }
            }
        }
    }
    line_.clear();
    overlong_ = false;
}

void ProxyFileReader::checkCurrent() {
    if (abandoned_) return;
    bool current = false;
    list_.withRows([&](model::ProxyRows& rows) { current = rows.generation() == fill_; });
    if (!current) abandoned_ = true;
}

void ProxyFileReader::flush() {
    if (waiting_.empty() || abandoned_) return;
    bool current = false;
    list_.withRows([&](model::ProxyRows& rows) {
        if (rows.generation() != fill_) return;
        current = true;
        for (ProxyPieces& proxy : waiting_) {
            const int row = appendProxyRow(rows, std::move(proxy));
            if (row < 0) {
                truncated_ = true;
                break;
            }
            rows.setCell(row, model::kRegionColumn, "本地");
        }
    });
    if (!current) abandoned_ = true;
    waiting_.clear();
}

model::Generation clearForFill(model::ProxyList& list) {
    model::Generation fill = 0;
    list.withRows([&](model::ProxyRows& rows) {
        rows.clear();
        fill = rows.generation();
    });
    return fill;
}

ImportEnd importProxies(ByteSource& source, model::ProxyList& list) {
    std::vector<char> buffer(kReadChunk);
    std::optional<std::size_t> got = source.read(buffer.data(), buffer.size());
    if (!got) return ImportEnd::Unreadable;
    const model::Generation fill = clearForFill(list);
    if (fill == 0) return ImportEnd::Abandoned;
    ProxyFileReader reader(list, fill);
    std::size_t sinceCheck = 0;
    while (got && *got > 0 && !reader.done()) {
        reader.feed(std::string_view(buffer.data(), *got));
        sinceCheck += *got;
        if (sinceCheck >= kBytesPerCheck) {
            reader.checkCurrent();
            sinceCheck = 0;
        }
        if (!reader.done()) got = source.read(buffer.data(), buffer.size());
    }
    reader.finish();
    if (reader.abandoned()) return ImportEnd::Abandoned;
    if (reader.truncated()) return ImportEnd::Limited;
    return got ? ImportEnd::Whole : ImportEnd::Broken;
}

std::string proxyFileText(model::ProxyList& list) {
    std::string text;
    list.withRows([&](model::ProxyRows& rows) {
        for (int row = 0; row < rows.size(); ++row) {
            text += proxyTextOfRow(rows, row);
            text += "\r\n";
        }
    });
    return text;
}

}  // namespace velmora::actions

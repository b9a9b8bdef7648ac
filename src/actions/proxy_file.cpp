#include "actions/proxy_file.h"

#include <vector>

namespace velmora::actions {

namespace {

constexpr std::string_view kLineEnds{"\n\0\x1a", 3};
constexpr std::size_t kReadChunk = 64 * 1024;

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

bool readProxyFile(ByteSource& source, model::ProxyList& list, model::Generation fill) {
    ProxyFileReader reader(list, fill);
    std::vector<char> buffer(kReadChunk);
    while (!reader.done()) {
        const std::size_t got = source.read(buffer.data(), buffer.size());
        if (got == 0) break;
        reader.feed(std::string_view(buffer.data(), got));
    }
    reader.finish();
    return reader.truncated() && !reader.abandoned();
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

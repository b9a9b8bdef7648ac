#include "actions/proxy_file.h"

#include <vector>

#include "actions/proxy_text.h"

namespace velmora::actions {

namespace {

constexpr std::string_view kLineEnds{"\n\0\x1a", 3};
constexpr std::size_t kReadChunk = 64 * 1024;

}  // namespace

void ProxyFileReader::feed(std::string_view bytes) {
    while (!bytes.empty() && !full()) {
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
    if (!overlong_ && !full()) {
        if (!line_.empty() && line_.back() == '\r') line_.pop_back();
        if (line_.size() <= kMaxProxyLineBytes) {
            if (std::optional<ProxyPieces> proxy = splitProxyText(line_)) {
                const int row = appendProxyRow(controls_, *proxy);
                if (row >= 0) {
                    controls_.setCellText(row, 5, "本地");
                    ++rowsAdded_;
                }
            }
        }
    }
    line_.clear();
    overlong_ = false;
}

void readProxyFile(ByteSource& source, ui::ControlOperations& controls) {
    ProxyFileReader reader(controls);
    std::vector<char> buffer(kReadChunk);
    while (!reader.full()) {
        const std::size_t got = source.read(buffer.data(), buffer.size());
        if (got == 0) break;
        reader.feed(std::string_view(buffer.data(), got));
    }
    reader.finish();
}

std::string proxyFileText(ui::ControlOperations& controls) {
    std::string text;
    const int rows = controls.rowCount();
    for (int row = 0; row < rows; ++row) {
        text += proxyTextOfRow(controls, row);
        text += "\r\n";
    }
    return text;
}

}  // namespace velmora::actions

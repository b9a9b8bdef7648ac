#include "extract/list_fill.h"

#include <algorithm>
#include <string>
#include <vector>

#include "util/text.h"

namespace velmora::extract {

namespace {

// Number, address and port, made before the trip to the window thread; the
// region is decided there, as the row goes in.
struct MadeRow {
    model::Row cells;
    bool hasPort = false;
};

constexpr std::string_view kLineEnd = "\r\n";

// Address and port are the first two pieces of the line split at ":" by the
// program's rule, taken without building the pieces: a fill makes a hundred
// thousand rows, and under Wine every allocation counts.
MadeRow extractedRow(std::size_t number, std::string_view line) {
    MadeRow made;
    made.cells[model::kNumberColumn] = text::fromInt(static_cast<long long>(number));
    const std::size_t colon = text::find(line, ":");
    // A line without ":", or with nothing after its only one, keeps only its
    // number (an empty last piece does not count).
    if (colon == text::npos || colon + 1 == line.size()) return made;
    const std::size_t next = text::find(line, ":", colon + 1);
    const std::size_t portEnd = next == text::npos ? line.size() : next;
    made.cells[model::kAddressColumn] = std::string(line.substr(0, colon));
    made.cells[model::kPortColumn] = std::string(line.substr(colon + 1, portEnd - colon - 1));
    made.hasPort = true;
    return made;
}

// The lines of `text` under the program's split rule at CR LF, as views into
// it: empty lines between line ends count, an empty piece after the last
// line end does not.
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    // Each search starts at the rest, which starts on a character boundary
    // (after a line end): a search from an offset would walk the text from
    // its start to find the boundaries, and the whole text once per line.
    while (!text.empty()) {
        const std::size_t end = text::find(text, kLineEnd);
        if (end == text::npos) {
            lines.push_back(text);
            break;
        }
        lines.push_back(text.substr(0, end));
        text.remove_prefix(end + kLineEnd.size());
    }
    return lines;
}

}  // namespace

void FillProxyList(model::ProxyList& list, ExtractionForm& form, model::Prompts& prompts,
                   const ProxyLines& result, std::size_t rowsPerTrip) {
    if (result.text.empty()) {
        prompts.warn("获取失败!!!");
        return;
    }
    // The list and its raw text are replaced in one trip, so that two
    // extractions running at once leave the rows and the text of the same one.
    model::Generation fill = 0;
    list.withRows([&](model::ProxyRows& rows) {
        rows.clear();
        fill = rows.generation();
        form.keepResultText(result.text);
    });
    if (fill == 0) return;  // the window is gone
    const std::vector<std::string_view> lines = linesOf(result.text);
    rowsPerTrip = std::max<std::size_t>(rowsPerTrip, 1);
    bool full = false;
    for (std::size_t first = 0; first < lines.size(); first += rowsPerTrip) {
        const std::size_t end = std::min(lines.size(), first + rowsPerTrip);
        std::vector<MadeRow> made;
        made.reserve(end - first);
        for (std::size_t i = first; i < end; ++i) made.push_back(extractedRow(i + 1, lines[i]));
        bool current = false;
        list.withRows([&](model::ProxyRows& rows) {
            // A newer extraction, an import or a clean-up has taken the list.
            if (rows.generation() != fill) return;
            current = true;
            // Read as the rows go in: the user may change the region while
            // they arrive, and later rows follow the new text.
            const bool nationwide = form.region().empty();
            for (MadeRow& row : made) {
                if (nationwide && row.hasPort) row.cells[model::kRegionColumn] = "全国";
                if (rows.append(std::move(row.cells)) < 0) {
                    full = true;
                    break;
                }
            }
        });
        if (!current) return;
        if (full) break;
    }
    if (result.truncated || full) prompts.inform(model::listedOnlyMessage());
}

}  // namespace velmora::extract

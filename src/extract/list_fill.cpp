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

MadeRow extractedRow(std::size_t number, std::string_view line) {
    MadeRow made;
    made.cells[model::kNumberColumn] = text::fromInt(static_cast<long long>(number));
    std::vector<std::string> pieces = text::split(line, ":");
    // A line without ":" keeps only its number.
    if (pieces.size() < 2) return made;
    made.cells[model::kAddressColumn] = std::move(pieces[0]);
    made.cells[model::kPortColumn] = std::move(pieces[1]);
    made.hasPort = true;
    return made;
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
    const std::vector<std::string> lines = text::split(result.text, "\r\n");
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

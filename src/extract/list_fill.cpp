#include "extract/list_fill.h"

#include <algorithm>
#include <string>
#include <vector>

#include "util/text.h"

namespace velmora::extract {

namespace {

constexpr int kAddressColumn = 1;
constexpr int kPortColumn = 2;
constexpr int kRegionColumn = 5;

ui::Row extractedRow(std::size_t number, std::string_view line, bool nationwide) {
    ui::Row row;
    row[0] = text::fromInt(static_cast<long long>(number));
    std::vector<std::string> pieces = text::split(line, ":");
    // A line without ":" keeps only its number.
    if (pieces.size() < 2) return row;
    row[kAddressColumn] = std::move(pieces[0]);
    row[kPortColumn] = std::move(pieces[1]);
    if (nationwide) row[kRegionColumn] = "全国";
    return row;
}

}  // namespace

void FillProxyList(ui::ControlOperations& controls, const ProxyLines& result,
                   std::size_t rowsPerTrip) {
    if (result.text.empty()) {
        controls.messageBox("获取失败!!!", "信息：", ui::kIconExclamation);
        return;
    }
    controls.deleteAllRows();
    controls.setText(ui::kRawResultEdit, result.text);
    const std::vector<std::string> lines = text::split(result.text, "\r\n");
    rowsPerTrip = std::max<std::size_t>(rowsPerTrip, 1);
    for (std::size_t first = 0; first < lines.size(); first += rowsPerTrip) {
        const std::size_t end = std::min(lines.size(), first + rowsPerTrip);
        controls.withRows([&](ui::ProxyRows& rows) {
            // Read as the rows go in: the user may change the region while
            // they arrive, and later rows follow the new text.
            const bool nationwide = controls.text(ui::kRegionEdit).empty();
            for (std::size_t i = first; i < end; ++i) {
                rows.append(extractedRow(i + 1, lines[i], nationwide));
            }
        });
    }
    if (result.truncated) controls.messageBox(ui::listedOnlyMessage());
}

}  // namespace velmora::extract

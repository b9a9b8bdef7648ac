#include "extract/list_fill.h"

#include <string>
#include <vector>

#include "util/text.h"

namespace velmora::extract {

namespace {

constexpr int kAddressColumn = 1;
constexpr int kPortColumn = 2;
constexpr int kRegionColumn = 5;

void fillRow(ui::ControlOperations& controls, int number, std::string_view line) {
    const int row = controls.insertRow(-1, text::fromInt(number));
    const std::vector<std::string> pieces = text::split(line, ":");
    if (pieces.size() < 2) return;
    controls.setCellText(row, kAddressColumn, pieces[0]);
    controls.setCellText(row, kPortColumn, pieces[1]);
    // Read for every row: the user may change the region while rows arrive.
    if (controls.text(ui::kRegionEdit).empty()) {
        controls.setCellText(row, kRegionColumn, "全国");
    }
}

}  // namespace

void FillProxyList(ui::ControlOperations& controls, std::string_view result) {
    if (result.empty()) {
        controls.messageBox("获取失败!!!", "信息：", ui::kIconExclamation);
        return;
    }
    controls.deleteAllRows();
    controls.setText(ui::kRawResultEdit, result);
    const std::vector<std::string> lines = text::split(result, "\r\n");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        fillRow(controls, static_cast<int>(i) + 1, lines[i]);
    }
}

}  // namespace velmora::extract

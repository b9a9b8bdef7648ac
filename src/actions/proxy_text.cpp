#include "actions/proxy_text.h"

#include <vector>

#include "util/text.h"

namespace velmora::actions {

std::optional<ProxyPieces> splitProxyText(std::string_view text) {
    std::vector<std::string> pieces = velmora::text::split(text, ":");
    if (pieces.size() != 2) return std::nullopt;
    return ProxyPieces{std::move(pieces[0]), std::move(pieces[1])};
}

std::string proxyTextOfRow(ui::ControlOperations& controls, int row) {
    return controls.cellText(row, 1) + ":" + controls.cellText(row, 2);
}

int appendProxyRow(ui::ControlOperations& controls, const ProxyPieces& proxy) {
    const int row = controls.insertRow(-1, velmora::text::fromInt(controls.rowCount() + 1LL));
    if (row < 0) return -1;
    controls.setCellText(row, 1, proxy.address);
    controls.setCellText(row, 2, proxy.port);
    return row;
}

std::optional<std::string> selectedProxyText(ui::ControlOperations& controls,
                                             std::string_view noSelection) {
    const int row = controls.currentRow();
    if (row < 0) {
        controls.messageBox(noSelection);
        return std::nullopt;
    }
    return proxyTextOfRow(controls, row);
}

}  // namespace velmora::actions

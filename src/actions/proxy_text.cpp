#include "actions/proxy_text.h"

#include <vector>

#include "util/text.h"

namespace velmora::actions {

std::optional<ProxyPieces> splitProxyText(std::string_view text) {
    std::vector<std::string> pieces = velmora::text::split(text, ":");
    if (pieces.size() != 2) return std::nullopt;
    return ProxyPieces{std::move(pieces[0]), std::move(pieces[1])};
}

std::string proxyTextOfRow(const ui::ProxyRows& rows, int row) {
    return rows.cell(row, 1) + ":" + rows.cell(row, 2);
}

int appendProxyRow(ui::ProxyRows& rows, ProxyPieces proxy) {
    ui::Row cells;
    cells[0] = velmora::text::fromInt(rows.size() + 1LL);
    cells[1] = std::move(proxy.address);
    cells[2] = std::move(proxy.port);
    return rows.append(std::move(cells));
}

std::optional<std::string> selectedProxyText(ui::ControlOperations& controls,
                                             std::string_view noSelection) {
    if (controls.currentRow() < 0) {
        controls.messageBox(noSelection);
        return std::nullopt;
    }
    std::string text;
    controls.withRows([&](ui::ProxyRows& rows) { text = proxyTextOfRow(rows, controls.currentRow()); });
    return text;
}

}  // namespace velmora::actions

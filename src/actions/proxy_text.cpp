#include "actions/proxy_text.h"

#include <vector>

#include "util/text.h"

namespace velmora::actions {

std::optional<ProxyPieces> splitProxyText(std::string_view text) {
    std::vector<std::string> pieces = velmora::text::split(text, ":");
    if (pieces.size() != 2) return std::nullopt;
    return ProxyPieces{std::move(pieces[0]), std::move(pieces[1])};
}

std::string proxyTextOfRow(const model::ProxyRows& rows, int row) {
    return rows.cell(row, model::kAddressColumn) + ":" + rows.cell(row, model::kPortColumn);
}

int appendProxyRow(model::ProxyRows& rows, ProxyPieces proxy) {
    model::Row cells;
    cells[model::kNumberColumn] = velmora::text::fromInt(rows.size() + 1LL);
    cells[model::kAddressColumn] = std::move(proxy.address);
    cells[model::kPortColumn] = std::move(proxy.port);
    return rows.append(std::move(cells));
}

std::optional<std::string> selectedProxyText(model::ProxyList& list, model::Prompts& prompts,
                                             std::string_view noSelection) {
    if (list.currentRow() < 0) {
        prompts.inform(noSelection);
        return std::nullopt;
    }
    std::string text;
    list.withRows([&](model::ProxyRows& rows) { text = proxyTextOfRow(rows, list.currentRow()); });
    return text;
}

}  // namespace velmora::actions

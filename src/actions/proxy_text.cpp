#include "actions/proxy_text.h"

#include "util/text.h"

namespace velmora::actions {

// Two pieces under the split rule: one ":" with text after it, or two with
// nothing after the second. Found without splitting, as every imported or
// pasted line comes through here.
std::optional<ProxyPieces> splitProxyText(std::string_view text) {
    const std::size_t first = velmora::text::find(text, ":");
    if (first == velmora::text::npos) return std::nullopt;
    const std::size_t second = velmora::text::find(text, ":", first + 1);
    if (second == velmora::text::npos) {
        if (first + 1 == text.size()) return std::nullopt;
        return ProxyPieces{std::string(text.substr(0, first)), std::string(text.substr(first + 1))};
    }
    if (second + 1 != text.size()) return std::nullopt;
    return ProxyPieces{std::string(text.substr(0, first)), std::string(text.substr(first + 1, second - first - 1))};
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

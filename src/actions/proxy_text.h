// The text form of a proxy (IP address, ":", port) and the rows made from it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/prompts.h"
#include "model/proxy_list.h"

namespace velmora::actions {

struct ProxyPieces {
    std::string address;
    std::string port;
};

// The two pieces of a text that splits into exactly two at ":", with the
// program's split rule; nothing is validated or trimmed, so "a:b" counts and
// "1.2.3.4:8080\r\n" keeps its line end in the port.
std::optional<ProxyPieces> splitProxyText(std::string_view text);

// Column 1 + ":" + column 2 of `row`.
std::string proxyTextOfRow(const model::ProxyRows& rows, int row);

// Appends a row numbered after the current last one, with the address in
// column 1 and the port in column 2; returns its index, -1 when the list is
// full.
int appendProxyRow(model::ProxyRows& rows, ProxyPieces proxy);

// The proxy text of the selected row, or nothing after showing `noSelection`
// when no row is selected.
std::optional<std::string> selectedProxyText(model::ProxyList& list, model::Prompts& prompts,
                                             std::string_view noSelection);

}  // namespace velmora::actions

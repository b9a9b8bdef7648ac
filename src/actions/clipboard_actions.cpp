#include "actions/clipboard_actions.h"

#include "actions/proxy_text.h"

namespace velmora::actions {

std::optional<std::string> proxyTextToCopy(ui::ControlOperations& controls) {
    return selectedProxyText(controls, "请选择需要复制的代理IP");
}

std::string listFullMessage() {
    return "列表已有" + std::to_string(ui::kMaxListedRows) + "个代理，不能再粘贴。";
}

bool pasteProxyText(ui::ControlOperations& controls, std::string_view clipboardText) {
    std::optional<ProxyPieces> proxy = splitProxyText(clipboardText);
    if (!proxy) return false;
    bool added = false;
    bool full = false;
    controls.withRows([&](ui::ProxyRows& rows) {
        added = appendProxyRow(rows, std::move(*proxy)) >= 0;
        full = !added;
    });
    if (full) controls.messageBox(listFullMessage());
    return added;
}

}  // namespace velmora::actions

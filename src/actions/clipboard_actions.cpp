#include "actions/clipboard_actions.h"

#include "actions/proxy_text.h"

namespace velmora::actions {

std::optional<std::string> proxyTextToCopy(ui::ControlOperations& controls) {
    return selectedProxyText(controls, "请选择需要复制的代理IP");
}

bool pasteProxyText(ui::ControlOperations& controls, std::string_view clipboardText) {
    std::optional<ProxyPieces> proxy = splitProxyText(clipboardText);
    if (!proxy) return false;
    controls.withRows([&](ui::ProxyRows& rows) { appendProxyRow(rows, std::move(*proxy)); });
    return true;
}

}  // namespace velmora::actions

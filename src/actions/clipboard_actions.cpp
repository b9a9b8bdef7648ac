#include "actions/clipboard_actions.h"

#include "actions/proxy_text.h"

namespace velmora::actions {

std::optional<std::string> proxyTextToCopy(ui::ControlOperations& controls) {
    return selectedProxyText(controls, "请选择需要复制的代理IP");
}

bool pasteProxyText(ui::ControlOperations& controls, std::string_view clipboardText) {
    const std::optional<ProxyPieces> proxy = splitProxyText(clipboardText);
    return proxy && appendProxyRow(controls, *proxy) >= 0;
}

}  // namespace velmora::actions

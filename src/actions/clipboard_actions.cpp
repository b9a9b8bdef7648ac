#include "actions/clipboard_actions.h"

#include "actions/proxy_text.h"

namespace velmora::actions {

std::optional<std::string> proxyTextToCopy(model::ProxyList& list, model::Prompts& prompts) {
    return selectedProxyText(list, prompts, "请选择需要复制的代理IP");
}

std::string listFullMessage() {
    return "列表已有" + std::to_string(model::kMaxListedRows) + "个代理，不能再粘贴。";
}

std::string clipboardBusyMessage() { return "剪贴板正被其他程序占用，请稍后再试。"; }

bool pasteProxyText(model::ProxyList& list, model::Prompts& prompts, std::string_view clipboardText) {
    std::optional<ProxyPieces> proxy = splitProxyText(clipboardText);
    if (!proxy) return false;
    bool added = false;
    bool full = false;
    list.withRows([&](model::ProxyRows& rows) {
        added = appendProxyRow(rows, std::move(*proxy)) >= 0;
        full = !added;
    });
    if (full) prompts.inform(listFullMessage());
    return added;
}

}  // namespace velmora::actions

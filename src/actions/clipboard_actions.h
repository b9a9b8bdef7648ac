// What "复制代理" puts on the clipboard and what "粘贴代理" takes from it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/prompts.h"
#include "model/proxy_list.h"

namespace velmora::actions {

// The selected row's proxy text, or nothing after the no-selection message.
std::optional<std::string> proxyTextToCopy(model::ProxyList& list, model::Prompts& prompts);

// What the user is told when a paste finds the list full, and when another
// program kept the clipboard busy.
std::string listFullMessage();
std::string clipboardBusyMessage();

// Appends a row when the clipboard text splits into exactly two pieces at
// ":"; a text holding several proxies is ignored as a whole. A full list
// takes nothing and says so. Returns whether a row was added.
bool pasteProxyText(model::ProxyList& list, model::Prompts& prompts, std::string_view clipboardText);

}  // namespace velmora::actions

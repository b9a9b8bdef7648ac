// Showing an extraction's result: the failure message, or one ProxyList row
// per found proxy.
#pragma once

#include <string_view>

#include "ui/control_ops.h"

namespace velmora::extract {

// An empty result shows "获取失败!!!" and leaves the list alone. Otherwise the
// list is replaced by one numbered row per line of `result` (IP address,
// port, and "全国" as region while RegionEdit is empty) and the result is
// kept in RawResultEdit.
void FillProxyList(ui::ControlOperations& controls, std::string_view result);

}  // namespace velmora::extract

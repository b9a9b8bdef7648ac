// Showing an extraction's result: the failure message, or one ProxyList row
// per found proxy.
#pragma once

#include <cstddef>

#include "extract/form.h"
#include "ui/control_ops.h"

namespace velmora::extract {

// Rows that travel to the window in one round trip: enough that the trip's
// cost vanishes, few enough that the window thread is back within a
// millisecond or two.
inline constexpr std::size_t kRowsPerTrip = 1000;

// An empty result shows "获取失败!!!" and leaves the list alone. Otherwise the
// list is replaced by one numbered row per line of the result (IP address,
// port, and "全国" as region while RegionEdit is empty), the lines are kept in
// RawResultEdit, and a result cut at the limit is told once at the end.
void FillProxyList(ui::ControlOperations& controls, const ProxyLines& result,
                   std::size_t rowsPerTrip = kRowsPerTrip);

}  // namespace velmora::extract

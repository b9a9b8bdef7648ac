// The list's two clean-up commands.
#pragma once

#include "model/proxy_list.h"

namespace velmora::actions {

// Deletes every row; the verification counters keep their values.
void removeAllRows(model::ProxyList& list);

// Deletes the rows whose column 3 is exactly "失败", then numbers every row
// 1, 2, 3 ... in column 0.
void removeFailedRows(model::ProxyList& list);

}  // namespace velmora::actions

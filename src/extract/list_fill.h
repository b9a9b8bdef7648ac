// Showing an extraction's result: the failure message, or one ProxyList row
// per found proxy.
#pragma once

#include <cstddef>

#include "extract/answer_reducer.h"
#include "extract/extraction_form.h"
#include "model/prompts.h"
#include "model/proxy_list.h"

namespace velmora::extract {

// An empty result shows "获取失败!!!" and leaves the list alone. Otherwise the
// list is replaced by one numbered row per line of the result (IP address,
// port, and "全国" as region while RegionEdit is empty), the lines are kept
// in the form, and a result cut at the limit is told once at the end. A fill
// that another clearing of the list overtakes stops where it is.
void FillProxyList(model::ProxyList& list, ExtractionForm& form, model::Prompts& prompts,
                   const ProxyLines& result, std::size_t rowsPerTrip = model::kRowsPerTrip);

}  // namespace velmora::extract

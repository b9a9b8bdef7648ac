// The extraction worker and its request to the extraction service.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "extract/answer_reducer.h"
#include "extract/extraction_form.h"
#include "extract/form.h"
#include "http/request_limits.h"
#include "model/prompts.h"
#include "model/proxy_list.h"

namespace velmora::extract {

// The request's limits. Each blocking step has its own time-out; the
// deadline is checked between reads of the answer. So a request ends after
// at most max(the deadline, the four time-outs added up) plus one receive
// time-out: 80 s (each redirect WinHTTP follows, up to its limit, adds its
// own steps). Up to 16 MiB of the answer are read and searched; reading
// stops there and the part read counts as the answer.
inline constexpr http::RequestLimits kExtractionLimits{
    .resolveTimeoutMs = 10'000,
    .connectTimeoutMs = 10'000,
    .sendTimeoutMs = 20'000,
    .receiveTimeoutMs = 20'000,
    .deadlineMs = 30'000,
    .maxBodyBytes = std::size_t{16} << 20,
};

// Posts the filters as the service's form and returns every "address:port"
// of its answer, each followed by CR LF, up to the listing limit; empty when
// the request fails, does not finish in time or the answer holds none. Reading
// stops as soon as the answer holds more items than can be listed. Blocks the
// calling thread within the limits above.
ProxyLines RequestProxyText(const Filters& filters,
                            const http::RequestLimits& limits = kExtractionLimits);

// Worker: reads the filters, requests, fills the list.
void ExtractionWorker(model::ProxyList& list, ExtractionForm& form, model::Prompts& prompts);

}  // namespace velmora::extract

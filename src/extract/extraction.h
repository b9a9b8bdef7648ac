// The extraction worker and its request to the extraction service.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "extract/form.h"
#include "ui/control_ops.h"

namespace velmora::extract {

// Limits that keep a slow, endless or oversized answer from hanging the
// worker or exhausting memory. Each blocking step has its own time-out; the
// deadline is checked between reads of the answer. So a request ends after
// at most max(totalSeconds, the four time-outs added up) plus one receive
// time-out: 80 s with the defaults (each redirect WinHTTP follows, up to its
// limit, adds its own steps).
struct RequestBounds {
    int resolveMilliseconds = 10000;
    int connectMilliseconds = 10000;
    int sendMilliseconds = 20000;
    // For the status line and for each wait for more of the answer.
    int receiveMilliseconds = 20000;
    // From the start of the request; an answer still arriving then is
    // refused, as a failed request.
    int totalSeconds = 30;
    // Bytes of the answer that are read and searched; reading stops there
    // and the part read counts as the answer.
    std::size_t maxAnswerBytes = std::size_t{16} << 20;
};

// Posts the filters as the service's form and returns every "address:port"
// of its answer, each followed by CR LF, up to the listing limit; empty when
// the request fails, does not finish in time or the answer holds none. Reading
// stops as soon as the answer holds more items than can be listed. Blocks the
// calling thread within the bounds above.
ProxyLines RequestProxyText(const Filters& filters, const RequestBounds& bounds = {});

// Worker: reads the filters, requests, fills the list.
void ExtractionWorker(ui::ControlOperations& controls);

}  // namespace velmora::extract

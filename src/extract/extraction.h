// The extraction worker and its request to the extraction service.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "extract/form.h"

namespace velmora::extract {

// Limits that keep a slow, endless or oversized answer from hanging the
// worker or exhausting memory.
struct RequestBounds {
    int resolveMilliseconds = 10000;
    int connectMilliseconds = 10000;
    int sendMilliseconds = 20000;
    int receiveMilliseconds = 20000;
    // The whole exchange, from sending the form to the answer's last byte;
    // an answer still arriving then is refused.
    int totalSeconds = 30;
    // Bytes of the answer that are read and searched; reading stops there.
    std::size_t maxAnswerBytes = std::size_t{16} << 20;
};

// Posts the filters as the service's form and returns every "address:port"
// of its answer, each followed by CR LF; empty when the request fails, does
// not finish in time or the answer holds none. Blocks the calling thread for
// at most about totalSeconds plus one receive time-out.
std::string RequestProxyText(const Filters& filters, const RequestBounds& bounds = {});

// Thread routine: reads the filters, requests, fills the list.
void ExtractionWorker(std::int32_t unused);

}  // namespace velmora::extract

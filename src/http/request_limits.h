// The limits of one HTTP request, one type for both of the program's
// requests: the page fetcher (WinINet, http/engine.h) and the extraction's
// form post (WinHTTP, http/winhttp_post_win.h). They keep a hostile,
// broken or slow server from holding a worker forever or filling the
// address space. Times are milliseconds. The defaults are the fetcher's;
// the extraction has values of its own (extract/extraction.h).
#pragma once

#include <cstddef>

namespace velmora::http {

struct RequestLimits {
    // Finding the server's address. WinINet has no time-out of its own for
    // it; the fetcher leaves it out.
    unsigned resolveTimeoutMs = 20'000;
    unsigned connectTimeoutMs = 20'000;
    unsigned sendTimeoutMs = 20'000;
    // The wait for the status line and each wait for more of the body.
    unsigned receiveTimeoutMs = 20'000;
    // The whole request, reading included. The fetcher's one covers its 301
    // follow-ups too; an answer still arriving then is refused.
    unsigned deadlineMs = 60'000;
    // Bytes of the body read at most. The fetcher refuses a longer body; the
    // extraction searches the part read.
    std::size_t maxBodyBytes = 1u << 20;
    // The fetcher's own 301 follow-ups per call; WinHTTP follows redirects
    // itself.
    int maxRedirects = 20;
};

}  // namespace velmora::http

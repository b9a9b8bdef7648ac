// The program's page fetcher over the Windows internet API.
//
// One call performs one GET or POST (and the 301 follow-ups it makes itself)
// and returns the response body as program text. The work is split in three:
// a pure plan of what to send (engine_plan.h), a transport that only talks to
// the network (Transport below; WinINet in the Windows build), and a pure
// reading of what came back (engine_interpret.h). Host tests drive plan and
// reading with recorded responses.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "http/engine_plan.h"
#include "http/request_limits.h"

namespace velmora::http {

// The optional parameters, in their fixed order, so a call names only what it
// gives: HttpEngine::request(url, {.proxy = proxyText}). In/out texts are
// pointers: null means omitted. For `cookies` and `proxy` being given (even
// empty) changes the request; for the others only the value counts.
struct RequestOptions {
    int method = 0;                          // 1 POST, else GET; non-zero carries a body
    std::string_view postText{};               // body when postBytes is empty
    std::string* cookies = nullptr;          // in/out: kept by hand when given
    std::string* returnedCookies = nullptr;  // out: name=value items of Set-Cookie lines
    std::string* extraHeaders = nullptr;     // in/out: completed with the default lines
    std::string* location = nullptr;         // out: Location value, else the raw headers
    bool noRedirect = false;                 // WinINet must not follow redirects itself
    std::string* postBytes = nullptr;        // in/out: filled from postText when empty
    std::optional<std::string_view> proxy{};   // host:port; given means proxy mode
    std::string* rawHeaders = nullptr;       // out: raw header text, or 5000 blanks
};

enum class BodyEnd {
    Whole,     // read until the server (or a failed read) ended it
    TooLarge,  // stopped after maxBodyBytes
    TooSlow,   // stopped at the deadline
};

// What one exchange brought back.
struct Exchange {
    std::string body{};
    BodyEnd bodyEnd = BodyEnd::Whole;
    // The header text up to its terminating zero; nullopt when the header
    // query failed (for instance because the text did not fit its buffer).
    std::optional<std::string> rawHeaders{};
};

class Transport {
public:
    virtual ~Transport() = default;
    // Sends the planned request and reads the answer, all handles closed on
    // return; reading stops at limits.deadlineMs from the call's start. nullopt when a handle could not be opened (nothing was sent).
    // Called from several threads at once.
    virtual std::optional<Exchange> sendAndReceive(const RequestPlan& plan,
                                                   const RequestLimits& limits) = 0;
};

class HttpEngine {
public:
    explicit HttpEngine(Transport& transport, RequestLimits limits = {})
        : transport_(transport), limits_(limits) {}

    // Returns the body as text: UTF-8 converted to code page 936, cut at the
    // first zero byte; empty on every failure.
    std::string fetch(std::string_view url, RequestOptions options = {}) const;

    // The program's fetcher: WinINet with the default limits (Windows only).
    static std::string request(std::string_view url, RequestOptions options = {});

private:
    Transport& transport_;
    RequestLimits limits_;
};

}  // namespace velmora::http

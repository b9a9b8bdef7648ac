#include "http/wininet_transport.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <optional>
#include <string_view>

#include "http/bounded_read.h"
#include "util/runtime_binding.h"
#include "util/unique_handle_win.h"

namespace velmora::http {

namespace {

constexpr DWORD kReadPiece = 1024;

// A WinINet handle; the declaration order of the handles in exchange()
// closes request, connection and internet handle in that order.
struct InternetHandleKind {
    using Type = HINTERNET;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type handle) noexcept {
        bound<decltype(::InternetCloseHandle)>(SystemFunction::InternetCloseHandle)(handle);
    }
};
using NetHandle = UniqueHandle<InternetHandleKind>;

void setTimeout(HINTERNET handle, DWORD option, unsigned ms) {
    DWORD value = ms;
    bound<decltype(::InternetSetOptionA)>(SystemFunction::InternetSetOptionA)(handle, option, &value, sizeof value);
}

// Child handles inherit these, so a server that accepts and then says
// nothing, or sends nothing for too long, ends the exchange.
void applyTimeouts(HINTERNET internet, const RequestLimits& limits) {
    setTimeout(internet, INTERNET_OPTION_CONNECT_TIMEOUT, limits.connectTimeoutMs);
    setTimeout(internet, INTERNET_OPTION_SEND_TIMEOUT, limits.sendTimeoutMs);
    setTimeout(internet, INTERNET_OPTION_RECEIVE_TIMEOUT, limits.receiveTimeoutMs);
}

HINTERNET openInternet(const RequestPlan& plan) {
    const auto open = bound<decltype(::InternetOpenA)>(SystemFunction::InternetOpenA);
    if (plan.accessType == wininet::kOpenTypeProxy) {
        return open(plan.agent.c_str(), INTERNET_OPEN_TYPE_PROXY, plan.proxyName.c_str(), "", 0);
    }
    return open(plan.agent.c_str(), INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
}

void send(HINTERNET request, const RequestPlan& plan) {
    // The result is not examined: a failed send leaves nothing to read and
    // the header query fails, which is how the caller learns of it.
    void* body = plan.sendsBody ? const_cast<char*>(plan.postBytes.data()) : nullptr;
    const DWORD bodyLength = plan.sendsBody ? static_cast<DWORD>(plan.postBytes.size()) : 0;
    bound<decltype(::HttpSendRequestA)>(SystemFunction::HttpSendRequestA)(
        request, plan.headers.c_str(), static_cast<DWORD>(plan.headers.size()), body, bodyLength);
}

// A synchronous read waits until its whole buffer is filled, so a server
// trickling a byte now and then would hold it for ages. Asking first what has
// arrived and reading no more than that makes each step wait at most one
// receive time-out, and the deadline is checked between steps.
void readBody(HINTERNET request, const RequestLimits& limits, Exchange& out) {
    const auto available = bound<decltype(::InternetQueryDataAvailable)>(SystemFunction::InternetQueryDataAvailable);
    const auto read = bound<decltype(::InternetReadFile)>(SystemFunction::InternetReadFile);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limits.deadlineMs);
    char piece[kReadPiece];
    // A failed query or read ends the body as the server ending it would.
    const auto readSome = [&](char* into, std::size_t most) -> std::optional<std::size_t> {
        DWORD ready = 0;
        if (!available(request, &ready, 0, 0) || ready == 0) return 0;
        DWORD count = 0;
        if (!read(request, into, static_cast<DWORD>(std::min<std::size_t>(ready, most)), &count)) return 0;
        return count;
    };
    const auto take = [&](std::string_view bytes) {
        out.body.append(bytes);
        return true;
    };
    const auto late = [&] { return std::chrono::steady_clock::now() >= deadline; };
    // One byte past the cap tells a body longer than the cap, which is
    // refused, from one that fills it exactly.
    switch (readBounded(piece, limits.maxBodyBytes + 1, readSome, take, late)) {
        case ReadEnd::Capped:
            out.bodyEnd = BodyEnd::TooLarge;
            break;
        case ReadEnd::Late:
            out.bodyEnd = BodyEnd::TooSlow;
            break;
        case ReadEnd::Ended:
        case ReadEnd::Failed:
            break;
    }
}

std::optional<std::string> queryRawHeaders(HINTERNET request) {
    char buffer[5000];
    DWORD length = sizeof buffer;
    if (!bound<decltype(::HttpQueryInfoA)>(SystemFunction::HttpQueryInfoA)(
            request, HTTP_QUERY_RAW_HEADERS_CRLF, buffer, &length, nullptr)) {
        return std::nullopt;
    }
    if (length > sizeof buffer) length = sizeof buffer;
    const std::string_view text(buffer, length);
    return std::string(text.substr(0, text.find('\0')));
}

class WinInetTransport final : public Transport {
public:
    std::optional<Exchange> sendAndReceive(const RequestPlan& plan,
                                           const RequestLimits& limits) override {
        if (plan.port < 0 || plan.port > std::numeric_limits<INTERNET_PORT>::max()) return std::nullopt;
        NetHandle internet(openInternet(plan));
        if (!internet) return std::nullopt;
        applyTimeouts(internet.get(), limits);
        NetHandle connection(bound<decltype(::InternetConnectA)>(SystemFunction::InternetConnectA)(
            internet.get(), plan.host.c_str(), static_cast<INTERNET_PORT>(plan.port), nullptr, nullptr,
            INTERNET_SERVICE_HTTP, 0, 0));
        if (!connection) return std::nullopt;
        NetHandle request(bound<decltype(::HttpOpenRequestA)>(SystemFunction::HttpOpenRequestA)(
            connection.get(), plan.verb.c_str(), plan.path.c_str(), "HTTP/1.1", nullptr, nullptr,
            plan.flags, 0));
        if (!request) return std::nullopt;

        send(request.get(), plan);
        Exchange out;
        readBody(request.get(), limits, out);
        out.rawHeaders = queryRawHeaders(request.get());
        return out;
    }
};

}  // namespace

Transport& sharedWinInetTransport() {
    static WinInetTransport transport;
    return transport;
}

}  // namespace velmora::http

#include "http/winhttp_post_win.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

#include "http/bounded_read.h"
#include "util/runtime_binding.h"
#include "util/unique_handle_win.h"
#include "util/wide.h"

namespace velmora::http {

namespace {

// WinHTTP is bound by name on first use, so the program does not need the
// library to start; without it every extraction just finds nothing.
struct WinHttpApi {
    decltype(&::WinHttpOpen) open = nullptr;
    decltype(&::WinHttpSetTimeouts) setTimeouts = nullptr;
    decltype(&::WinHttpSetOption) setOption = nullptr;
    decltype(&::WinHttpCrackUrl) crackUrl = nullptr;
    decltype(&::WinHttpConnect) connect = nullptr;
    decltype(&::WinHttpOpenRequest) openRequest = nullptr;
    decltype(&::WinHttpAddRequestHeaders) addRequestHeaders = nullptr;
    decltype(&::WinHttpSendRequest) sendRequest = nullptr;
    decltype(&::WinHttpReceiveResponse) receiveResponse = nullptr;
    decltype(&::WinHttpQueryDataAvailable) queryDataAvailable = nullptr;
    decltype(&::WinHttpReadData) readData = nullptr;
    decltype(&::WinHttpCloseHandle) closeHandle = nullptr;

    bool complete() const {
        return open && setTimeouts && setOption && crackUrl && connect && openRequest &&
               addRequestHeaders && sendRequest && receiveResponse && queryDataAvailable &&
               readData && closeHandle;
    }
};

template <typename Fn>
void bind(SystemFunction which, Fn*& function) {
    function = boundIfPresent<Fn>(which);
}

WinHttpApi loadApi() {
    WinHttpApi api;
    bind(SystemFunction::WinHttpOpen, api.open);
    bind(SystemFunction::WinHttpSetTimeouts, api.setTimeouts);
    bind(SystemFunction::WinHttpSetOption, api.setOption);
    bind(SystemFunction::WinHttpCrackUrl, api.crackUrl);
    bind(SystemFunction::WinHttpConnect, api.connect);
    bind(SystemFunction::WinHttpOpenRequest, api.openRequest);
    bind(SystemFunction::WinHttpAddRequestHeaders, api.addRequestHeaders);
    bind(SystemFunction::WinHttpSendRequest, api.sendRequest);
    bind(SystemFunction::WinHttpReceiveResponse, api.receiveResponse);
    bind(SystemFunction::WinHttpQueryDataAvailable, api.queryDataAvailable);
    bind(SystemFunction::WinHttpReadData, api.readData);
    bind(SystemFunction::WinHttpCloseHandle, api.closeHandle);
    return api;
}

const WinHttpApi* winHttp() {
    static const WinHttpApi api = loadApi();
    return api.complete() ? &api : nullptr;
}

// Handles exist only once winHttp() has found the whole API.
struct WinHttpHandleKind {
    using Type = HINTERNET;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type handle) noexcept { winHttp()->closeHandle(handle); }
};
using Handle = UniqueHandle<WinHttpHandleKind>;

struct Target {
    std::wstring host;
    INTERNET_PORT port = 0;
    std::wstring path;
    DWORD flags = 0;
};

bool crack(const WinHttpApi& api, const std::wstring& url, Target& target) {
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!api.crackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return false;
    target.host.assign(parts.lpszHostName, parts.dwHostNameLength);
    target.port = parts.nPort;
    target.path.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    if (parts.lpszExtraInfo != nullptr) {
        target.path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    }
    if (parts.nScheme == INTERNET_SCHEME_HTTPS) target.flags = WINHTTP_FLAG_SECURE;
    return !target.host.empty();
}

// Each header replaces one of the same name that WinHTTP would add itself.
void addHeaders(const WinHttpApi& api, HINTERNET request,
                const std::vector<RequestHeader>& headers) {
    for (const auto& [name, value] : headers) {
        const std::wstring line = toWide(name + ": " + value);
        api.addRequestHeaders(request, line.c_str(), static_cast<DWORD>(line.size()),
                              WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE);
    }
}

// Reads until the answer ends, the cap is reached or the sink wants no more
// (the part read counts), or the deadline passes (the answer is refused). A
// single wait for data is bounded by the receive time-out.
bool readAnswer(const WinHttpApi& api, HINTERNET request, const http::RequestLimits& limits,
                std::uint64_t deadline, const AnswerSink& sink) {
    std::vector<char> buffer(64 * 1024);
    const auto readSome = [&](char* into, std::size_t most) -> std::optional<std::size_t> {
        DWORD available = 0;
        if (!api.queryDataAvailable(request, &available)) return std::nullopt;
        if (available == 0) return 0;
        DWORD read = 0;
        const auto wanted = static_cast<DWORD>(std::min<std::size_t>(available, most));
        if (!api.readData(request, into, wanted, &read)) return std::nullopt;
        return read;
    };
    const auto late = [deadline] { return GetTickCount64() > deadline; };
    // Connecting and sending may have used up the time already.
    if (late()) return false;
    const http::ReadEnd end = http::readBounded(buffer, limits.maxBodyBytes, readSome, sink, late);
    return end != http::ReadEnd::Failed && end != http::ReadEnd::Late;
}

}  // namespace

bool postForm(std::string_view url, const std::vector<RequestHeader>& headers,
              std::string_view body, const http::RequestLimits& limits, const AnswerSink& sink) {
    const WinHttpApi* api = winHttp();
    if (api == nullptr || body.size() > MAXDWORD) return false;
    const std::uint64_t deadline = GetTickCount64() + limits.deadlineMs;

    // The same session settings as the scripting component: default proxy
    // configuration, synchronous calls.
    const Handle session(api->open(nullptr, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                   WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) return false;
    api->setTimeouts(session.get(), static_cast<int>(limits.resolveTimeoutMs),
                     static_cast<int>(limits.connectTimeoutMs), static_cast<int>(limits.sendTimeoutMs),
                     static_cast<int>(limits.receiveTimeoutMs));
    Target target;
    if (!crack(*api, toWide(url), target)) return false;
    const Handle connection(api->connect(session.get(), target.host.c_str(), target.port, 0));
    if (!connection) return false;
    const Handle request(api->openRequest(connection.get(), L"POST", target.path.c_str(), nullptr,
                                          WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                          target.flags));
    if (!request) return false;
    addHeaders(*api, request.get(), headers);
    // The wait for the status line has a time-out of its own.
    DWORD responseTimeout = limits.receiveTimeoutMs;
    api->setOption(request.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &responseTimeout,
                   sizeof responseTimeout);

    const auto size = static_cast<DWORD>(body.size());
    if (!api->sendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                          const_cast<char*>(body.data()), size, size, 0) ||
        !api->receiveResponse(request.get(), nullptr)) {
        return false;
    }
    return readAnswer(*api, request.get(), limits, deadline, sink);
}

}  // namespace velmora::http

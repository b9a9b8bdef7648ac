#include "verify/verify_win.h"

#include <windows.h>
#include <objbase.h>

#include "http/engine.h"
#include "util/runtime_binding.h"
#include "util/com_scope_win.h"
#include "verify/echo_page.h"
#include "verify/icmp_echo.h"
#include "verify/own_ip.h"

namespace velmora::verify {

namespace {

// COM on the worker's thread, so the engine may use COM there.
struct ComForThreadKind {
    static HRESULT initialize() noexcept {
        return bound<decltype(::CoInitialize)>(SystemFunction::CoInitialize)(nullptr);
    }
    static void uninitialize() noexcept {
        bound<decltype(::CoUninitialize)>(SystemFunction::CoUninitialize)();
    }
};
using ComForThread = ComScope<ComForThreadKind>;

std::string fetchThroughProxy(std::string_view proxy) {
    return http::HttpEngine::request(kEchoPageUrl, {.proxy = proxy});
}

std::string fetchDirect() { return http::HttpEngine::request(kEchoPageUrl); }

}  // namespace

void VerifyProxy(model::ProxyList& list, TotalsView& totals, const ProxyUnderTest& proxy) {
    const ComForThread com;
    verifyAndRecord(list, totals, proxy,
                    {.fetchThroughProxy = fetchThroughProxy,
                     .fetchDirect = fetchDirect,
                     .echoRoundTrip = echoRoundTrip,
                     .ownIp = ownIpText(),
                     .counters = verificationCounters()});
}

void CheckOwnIp() { ownIpText().learn(fetchDirect); }

void ExitCleanup() { ownIpText().release(); }

}  // namespace velmora::verify

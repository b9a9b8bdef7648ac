#include "verify/verify_win.h"

#include <windows.h>
#include <objbase.h>

#include "app/runtime_binding.h"
#include "http/engine.h"
#include "verify/echo_page.h"
#include "verify/icmp_echo.h"
#include "verify/own_ip.h"

namespace velmora::verify {

namespace {

// Pairs the worker's COM initialisation, so the engine may use COM there.
class ComForThread {
public:
    ComForThread() { app::bound<decltype(::CoInitialize)>(app::Bound::CoInitialize)(nullptr); }
    ComForThread(const ComForThread&) = delete;
    ComForThread& operator=(const ComForThread&) = delete;
    ~ComForThread() { app::bound<decltype(::CoUninitialize)>(app::Bound::CoUninitialize)(); }
};

std::string fetchThroughProxy(std::string_view proxy) {
    return http::HttpEngine::request(kEchoPageUrl, {.proxy = proxy});
}

}  // namespace

void VerifyProxy(ui::ControlOperations& controls, const ProxyUnderTest& proxy) {
    const ComForThread com;
    verifyAndRecord(controls, proxy,
                    {.fetchThroughProxy = fetchThroughProxy,
                     .echoRoundTrip = echoRoundTrip,
                     .ownIp = ownIpText(),
                     .counters = verificationCounters()});
}

void CheckOwnIp() {
    fetchOwnIp([] { return http::HttpEngine::request(kEchoPageUrl); }, ownIpText());
}

void ExitCleanup() { ownIpText().release(); }

}  // namespace velmora::verify

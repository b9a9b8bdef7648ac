#include <windows.h>
#include <objbase.h>

#include "app/threads.h"
#include "http/engine.h"
#include "ui/handlers.h"
#include "ui/window.h"
#include "util/runtime_binding.h"
#include "util/unique_handle_win.h"
#include "verify/echo_page.h"
#include "verify/icmp_echo.h"
#include "verify/own_ip.h"
#include "verify/verification.h"
#include "verify/verify_all.h"

namespace velmora {

namespace {

// Read and written on the window thread only: by a pass, by "停止验证" and by
// passes nested in a pass through its event processing.
bool gVerifyAllRunning = false;

// COM on the worker's thread, so the engine may use COM there.
struct ComForThreadKind {
    static HRESULT initialize() noexcept {
        return bound<decltype(::CoInitialize)>(Bound::CoInitialize)(nullptr);
    }
    static void uninitialize() noexcept {
        bound<decltype(::CoUninitialize)>(Bound::CoUninitialize)();
    }
};
using ComForThread = ComScope<ComForThreadKind>;

std::string fetchThroughProxy(std::string_view proxy) {
    return http::HttpEngine::request(verify::kEchoPageUrl, {.proxy = proxy});
}

void VerifyProxy(const verify::ProxyUnderTest& proxy) {
    // Started just before the window went: the program is ending, and no
    // request may leave after its window is gone.
    if (!ui::windowOpen()) return;
    const ComForThread com;
    verify::verifyProxy(ui::windowControls(), proxy,
                        {.fetchThroughProxy = fetchThroughProxy,
                         .echoRoundTrip = verify::echoRoundTrip,
                         .ownIp = verify::ownIpText(),
                         .counters = verify::verifyCounters()});
}

// Runs on the window thread, so the row is read as the user sees it at the
// moment the verification starts.
void startVerifyProxy(int row) {
    if (!ui::windowOpen()) return;
    app::startThread([proxy = verify::proxyAt(ui::windowControls(), row)] { VerifyProxy(proxy); });
}

void CheckOwnIp(std::int32_t /*ignored*/) {
    verify::checkOwnIp([] { return http::HttpEngine::request(verify::kEchoPageUrl); }, verify::ownIpText());
}

}  // namespace

void VerifySelected() { verify::verifySelected(ui::windowControls(), startVerifyProxy); }

void VerifyAll() {
    verify::verifyAll(ui::windowControls(), gVerifyAllRunning,
                      {.startWorker = startVerifyProxy,
                       .processPending = ui::processPendingMessages,
                       .sleep = [](unsigned ms) { ::Sleep(ms); },
                       .windowOpen = ui::windowOpen});
}

void StopVerify() { verify::stopVerify(gVerifyAllRunning); }

void StartOwnIpCheck() { app::startThread(CheckOwnIp, 1); }

void ExitCleanup() { verify::ownIpText().release(); }

}  // namespace velmora

// What one verification costs besides the network: planning the request,
// reading a recorded answer, deciding and writing the row, for a typical echo
// page and for a page at the body bound.
#include <benchmark/benchmark.h>

#include <deque>
#include <string>

#include "http/engine.h"
#include "support/memory_window.h"
#include "verify/own_ip.h"
#include "verify/verification.h"

namespace h = velmora::http;
namespace fakes = velmora::fakes;
namespace model = velmora::model;
namespace v = velmora::verify;

namespace {

const std::string kHeaders =
    "HTTP/1.1 200 OK\r\nServer: IpEcho/1.0\r\nContent-Type: text/html\r\nContent-Length: 160\r\n"
    "Connection: close\r\n\r\n";

std::string echoPage(std::size_t size) {
    std::string page =
        "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\"></head>"
        "<body><p>您的IP是：[127.0.0.2]</p>";
    if (page.size() < size) page.append(size - page.size(), 'x');
    return page;
}

// Hands back the same recorded answer for every exchange.
class ReplayTransport final : public h::Transport {
public:
    explicit ReplayTransport(std::string body) : body_(std::move(body)) {}
    std::optional<h::Exchange> sendAndReceive(const h::RequestPlan&,
                                              const h::RequestLimits&) override {
        return h::Exchange{.body = body_, .bodyEnd = h::BodyEnd::Whole, .rawHeaders = kHeaders};
    }

private:
    std::string body_;
};

void verifyOnce(benchmark::State& state) {
    ReplayTransport transport(echoPage(static_cast<std::size_t>(state.range(0))));
    const h::HttpEngine engine(transport);
    fakes::MemoryWindow window;
    window.setRows({model::Row{"1", "127.0.0.2", "18190", "", "", ""}});
    v::OwnIpStore own;
    own.store("127.0.0.1");
    v::VerifyCounters counters;
    const v::VerifyTools tools{
        .fetchThroughProxy =
            [&](std::string_view proxy) {
                return engine.fetch("http://127.0.0.1:18187/ic.asp", {.proxy = proxy});
            },
        .fetchDirect = [] { return std::string(); },
        .echoRoundTrip = [](std::string_view) { return 1L; },
        .ownIp = own,
        .counters = counters};
    const v::ProxyUnderTest proxy = v::proxyAt(window, 0);
    for (auto _ : state) v::verifyAndRecord(window, window, proxy, tools);
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(verifyOnce)->Arg(160)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

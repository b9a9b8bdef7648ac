// Verifying one proxy: the decision, the counters and the row's outcome.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "model/prompts.h"
#include "model/proxy_list.h"
#include "verify/own_ip.h"

namespace velmora::verify {

// The proxy works when the echo page itself came back through it (its marker
// is there) and does not show our own address (case-folded, two-byte-aware
// search). A proxy's own error page, a login page or nothing at all fails.
// Without a known own address nothing can be proven hidden, so the proxy
// fails too.
bool proxyPasses(std::string_view page, std::string_view ownIp);

// Process-wide totals of verifications, never reset.
class VerifyCounters {
public:
    std::int32_t addSuccess() { return success_.fetch_add(1) + 1; }
    std::int32_t addFailure() { return failure_.fetch_add(1) + 1; }
    std::int32_t successes() const { return success_.load(); }
    std::int32_t failures() const { return failure_.load(); }

private:
    std::atomic<std::int32_t> success_{0};
    std::atomic<std::int32_t> failure_{0};
};

VerifyCounters& verificationCounters();

// "12个IP".
std::string countCaption(std::int32_t count);

// Where the totals show: the success and the failure label of the window.
class TotalsView {
public:
    virtual ~TotalsView() = default;
    virtual void showSuccesses(std::string_view caption) = 0;
    virtual void showFailures(std::string_view caption) = 0;
};

struct VerifyTools {
    // The echo page through the proxy "ip:port"; empty when the request failed.
    std::function<std::string(std::string_view proxy)> fetchThroughProxy;
    // The echo page without a proxy, for the own address when it is not
    // known yet.
    std::function<std::string()> fetchDirect;
    // Round-trip time of one ICMP echo in ms, -1 without a reply.
    std::function<long(std::string_view address)> echoRoundTrip;
    OwnIpStore& ownIp;
    VerifyCounters& counters;
};

// The row a verification works for, as it stood when the verification began.
struct ProxyUnderTest {
    model::RowId row = model::kNoRow;  // kNoRow when there was no such row
    std::string address;
    std::string port;
};

// Row `row` of the list, read in one round trip; an index outside the list
// gives no row and empty texts (the proxy text is then ":").
ProxyUnderTest proxyAt(model::ProxyList& list, int row);

// Verifies the proxy and writes the outcome into columns 3 and 4 of its row,
// wherever that row stands by then (nowhere once it is gone), and into the
// matching total label, which counts every verification. The own address is
// learnt first when it is not known yet. The ICMP echo goes to the address
// that was verified. A proxy whose row was already gone when it was read is
// not tried and not counted.
void verifyAndRecord(model::ProxyList& list, TotalsView& totals, const ProxyUnderTest& proxy,
                     const VerifyTools& tools);

// "验证选中": asks for a selection when there is none, else starts a worker
// for the selected row.
void verifySelectedRow(model::ProxyList& list, model::Prompts& prompts,
                       const std::function<void(int row)>& startWorker);

}  // namespace velmora::verify

#include "verify/verification.h"

#include <initializer_list>
#include <utility>

#include "util/text.h"

namespace velmora::verify {

namespace {

// Workers finish in any order, so the one holding an older total may write
// last; each writes until what it wrote is the current total, so the label
// ends on the true count.
void showTotal(TotalsView& totals, void (TotalsView::*show)(std::string_view),
               std::int32_t (VerifyCounters::*current)() const, const VerifyCounters& counters,
               std::int32_t value) {
    for (;;) {
        (totals.*show)(countCaption(value));
        const std::int32_t now = (counters.*current)();
        if (now == value) return;
        value = now;
    }
}

}  // namespace

bool proxyPasses(std::string_view page, std::string_view ownIp) {
    if (ownIp.empty()) return false;
    if (!text::contains(page, kEchoMarker, true)) return false;
    return !text::contains(page, ownIp, true);
}

VerifyCounters& verificationCounters() {
    static VerifyCounters counters;
    return counters;
}

std::string countCaption(std::int32_t count) { return text::fromInt(count) + "个IP"; }

ProxyUnderTest proxyAt(model::ProxyList& list, int row) {
    ProxyUnderTest proxy;
    list.withRows([&](model::ProxyRows& rows) {
        proxy.row = rows.idAt(row);
        proxy.address = rows.cell(row, model::kAddressColumn);
        proxy.port = rows.cell(row, model::kPortColumn);
    });
    return proxy;
}

void verifyAndRecord(model::ProxyList& list, TotalsView& totals, const ProxyUnderTest& proxy,
                     const VerifyTools& tools) {
    // Written by identity: rows deleted or a list refilled meanwhile must not
    // receive another proxy's outcome.
    const auto write = [&](std::initializer_list<std::pair<int, std::string_view>> cells) {
        if (proxy.row == model::kNoRow) return;
        list.withRows([&](model::ProxyRows& rows) {
            const int at = rows.indexOf(proxy.row);
            for (const auto& [column, text] : cells) rows.setCell(at, column, text);
        });
    };
    if (proxy.row == model::kNoRow) return;
    const std::string page = tools.fetchThroughProxy(proxy.address + ":" + proxy.port);
    if (proxyPasses(page, tools.ownIp.learn(tools.fetchDirect))) {
        write({{model::kResultColumn, "成功"}});
        showTotal(totals, &TotalsView::showSuccesses, &VerifyCounters::successes, tools.counters,
                  tools.counters.addSuccess());
        const long roundTrip = tools.echoRoundTrip(proxy.address);
        write({{model::kSpeedColumn, roundTrip == -1 ? "普通" : "极快"}});
    } else {
        write({{model::kResultColumn, "失败"}, {model::kSpeedColumn, "无效"}});
        showTotal(totals, &TotalsView::showFailures, &VerifyCounters::failures, tools.counters,
                  tools.counters.addFailure());
    }
}

void verifySelectedRow(model::ProxyList& list, model::Prompts& prompts,
                       const std::function<void(int row)>& startWorker) {
    if (list.currentRow() == -1) {
        prompts.inform("请选择需要校验的IP地址");
        return;
    }
    startWorker(list.currentRow());
}

}  // namespace velmora::verify

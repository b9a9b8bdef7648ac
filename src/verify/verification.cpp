#include "verify/verification.h"

#include <initializer_list>
#include <utility>

#include "util/text.h"

namespace velmora::verify {

namespace {

// Workers finish in any order, so the one holding an older total may write
// last; each writes until what it wrote is the current total, so the label
// ends on the true count.
void showTotal(ui::ControlOperations& controls, ui::ControlId label,
               std::int32_t (VerifyCounters::*current)() const, const VerifyCounters& counters,
               std::int32_t value) {
    for (;;) {
        controls.setText(label, countCaption(value));
        const std::int32_t now = (counters.*current)();
        if (now == value) return;
        value = now;
    }
}

}  // namespace

bool proxyPasses(std::string_view page, std::string_view ownIp) {
    if (text::removeBlanks(page).empty()) return false;
    if (ownIp.empty()) return false;
    return !text::contains(page, ownIp, true);
}

VerifyCounters& verificationCounters() {
    static VerifyCounters counters;
    return counters;
}

std::string countCaption(std::int32_t count) { return text::fromInt(count) + "个IP"; }

ProxyUnderTest proxyAt(ui::ControlOperations& controls, int row) {
    ProxyUnderTest proxy;
    controls.withRows([&](ui::ProxyRows& rows) {
        proxy.row = rows.idAt(row);
        proxy.address = rows.cell(row, kIpColumn);
        proxy.port = rows.cell(row, kPortColumn);
    });
    return proxy;
}

void verifyAndRecord(ui::ControlOperations& controls, const ProxyUnderTest& proxy,
                     const VerifyTools& tools) {
    // Written by identity: rows deleted or a list refilled meanwhile must not
    // receive another proxy's outcome.
    const auto write = [&](std::initializer_list<std::pair<int, std::string_view>> cells) {
        if (proxy.row == ui::kNoRow) return;
        controls.withRows([&](ui::ProxyRows& rows) {
            const int at = rows.indexOf(proxy.row);
            for (const auto& [column, text] : cells) rows.setCell(at, column, text);
        });
    };
    const std::string page = tools.fetchThroughProxy(proxy.address + ":" + proxy.port);
    if (proxyPasses(page, tools.ownIp.text())) {
        write({{kResultColumn, "成功"}});
        showTotal(controls, ui::kSuccessTotalLabel, &VerifyCounters::successes, tools.counters,
                  tools.counters.addSuccess());
        const long roundTrip = tools.echoRoundTrip(proxy.address);
        write({{kSpeedColumn, roundTrip == -1 ? "普通" : "极快"}});
    } else {
        write({{kResultColumn, "失败"}, {kSpeedColumn, "无效"}});
        showTotal(controls, ui::kFailureTotalLabel, &VerifyCounters::failures, tools.counters,
                  tools.counters.addFailure());
    }
}

void verifySelectedRow(ui::ControlOperations& controls,
                       const std::function<void(int row)>& startWorker) {
    if (controls.currentRow() == -1) {
        controls.messageBox("请选择需要校验的IP地址");
        return;
    }
    startWorker(controls.currentRow());
}

}  // namespace velmora::verify

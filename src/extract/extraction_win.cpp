#include "extract/extraction.h"

#include "app/threads.h"
#include "extract/list_fill.h"
#include "extract/winhttp_post_win.h"
#include "ui/handlers.h"
#include "ui/window.h"

namespace velmora {

namespace extract {

namespace {

Filters readFilters(ui::ControlOperations& controls) {
    Filters filters;
    filters.count = controls.text(ui::kCountEdit);
    filters.region = controls.text(ui::kRegionEdit);
    filters.port = controls.text(ui::kPortCombo);
    filters.carrier = controls.text(ui::kCarrierCombo);
    filters.prefix = controls.text(ui::kPrefixEdit);
    return filters;
}

std::vector<RequestHeader> requestHeaders() {
    std::vector<RequestHeader> headers;
    for (const std::string& line : HeaderLines(ExtractionHeaders)) {
        headers.emplace_back(HeaderLineName(line), HeaderLineValue(line));
    }
    return headers;
}

}  // namespace

ProxyLines RequestProxyText(const Filters& filters, const http::RequestLimits& limits) {
    AnswerReducer reducer;
    const bool answered = postForm(ExtractionUrl, requestHeaders(), FormBody(filters), limits,
                                   [&](std::string_view piece) { return reducer.feed(piece); });
    if (!answered) return {};
    return reducer.finish();
}

void ExtractionWorker(std::int32_t /*unused*/) {
    ui::ControlOperations& controls = ui::windowControls();
    FillProxyList(controls, RequestProxyText(readFilters(controls)));
}

}  // namespace extract

// Each click runs its own worker; nothing stops two from running at once.
void StartExtraction() { app::startThread(extract::ExtractionWorker); }

}  // namespace velmora

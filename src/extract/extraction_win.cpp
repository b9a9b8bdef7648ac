#include "extract/extraction.h"

#include "extract/list_fill.h"
#include "extract/winhttp_post_win.h"

namespace velmora::extract {

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

void ExtractionWorker(ui::ControlOperations& controls) {
    FillProxyList(controls, RequestProxyText(readFilters(controls)));
}

}  // namespace velmora::extract

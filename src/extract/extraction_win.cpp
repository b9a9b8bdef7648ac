#include "extract/extraction.h"

#include "extract/list_fill.h"
#include "http/winhttp_post_win.h"

namespace velmora::extract {

namespace {

std::vector<http::RequestHeader> requestHeaders() {
    std::vector<http::RequestHeader> headers;
    for (const std::string& line : HeaderLines(ExtractionHeaders)) {
        headers.emplace_back(HeaderLineName(line), HeaderLineValue(line));
    }
    return headers;
}

}  // namespace

ProxyLines RequestProxyText(const Filters& filters, const http::RequestLimits& limits) {
    AnswerReducer reducer;
    const bool answered = http::postForm(ExtractionUrl, requestHeaders(), FormBody(filters), limits,
                                   [&](std::string_view piece) { return reducer.feed(piece); });
    if (!answered) return {};
    return reducer.finish();
}

void ExtractionWorker(model::ProxyList& list, ExtractionForm& form, model::Prompts& prompts) {
    FillProxyList(list, form, prompts, RequestProxyText(form.filters()));
}

}  // namespace velmora::extract

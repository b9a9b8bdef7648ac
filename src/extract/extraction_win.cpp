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

std::string RequestProxyText(const Filters& filters, const RequestBounds& bounds) {
    const std::vector<unsigned char> answer =
        postForm(ExtractionUrl, requestHeaders(), FormBody(filters), bounds);
    return ReduceAnswer(
        std::string_view(reinterpret_cast<const char*>(answer.data()), answer.size()));
}

void ExtractionWorker(std::int32_t /*unused*/) {
    ui::ControlOperations& controls = ui::windowControls();
    const std::string result = RequestProxyText(readFilters(controls));
    FillProxyList(controls, result);
}

}  // namespace extract

// Each click runs its own worker; nothing stops two from running at once.
void StartExtraction() { app::startThread(extract::ExtractionWorker); }

}  // namespace velmora

#include "ui/window_fields_win.h"

#include <windows.h>

#include <utility>

#include "ui/ids.h"
#include "ui/main_window_win.h"
#include "util/wide.h"

namespace velmora::ui {

namespace {

std::string windowText(HWND window) {
    if (window == nullptr) return {};
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return fromWide(text);
}

void setCaption(MainWindow& window, ControlId id, std::string_view caption) {
    const std::wstring wide = toWide(caption);
    window.tasks().run([&] {
        if (HWND control = window.control(id)) SetWindowTextW(control, wide.c_str());
    });
}

RECT placeInParent(HWND control) {
    RECT r{};
    if (control == nullptr) return r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

extract::Filters WindowExtractionForm::filters() {
    return window_.tasks().call(extract::Filters{}, [this] {
        extract::Filters filters;
        filters.count = windowText(window_.control(kCountEdit));
        filters.region = windowText(window_.control(kRegionEdit));
        filters.port = windowText(window_.control(kPortCombo));
        filters.carrier = windowText(window_.control(kCarrierCombo));
        filters.prefix = windowText(window_.control(kPrefixEdit));
        return filters;
    });
}

std::string WindowExtractionForm::region() {
    return window_.tasks().call(std::string(), [this] { return windowText(window_.control(kRegionEdit)); });
}

void WindowExtractionForm::keepResultText(std::string text) {
    // The feeder converts the text piece by piece as it goes in: a result can
    // be megabytes.
    window_.tasks().run([&] { window_.resultFeeder().replace(std::move(text)); });
}

void WindowTotals::showSuccesses(std::string_view caption) {
    setCaption(window_, kSuccessTotalLabel, caption);
}

void WindowTotals::showFailures(std::string_view caption) {
    setCaption(window_, kFailureTotalLabel, caption);
}

int WindowNotice::left() {
    return window_.tasks().call(0, [this] {
        return window_.scale().unscale(static_cast<int>(placeInParent(window_.control(kNoticeLabel)).left));
    });
}

void WindowNotice::setLeft(int left) {
    window_.tasks().run([&] {
        HWND label = window_.control(kNoticeLabel);
        if (label == nullptr) return;
        const RECT r = placeInParent(label);
        SetWindowPos(label, nullptr, window_.scale()(left), r.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    });
}

int WindowNotice::width() {
    return window_.tasks().call(0, [this] {
        const RECT r = placeInParent(window_.control(kNoticeLabel));
        return window_.scale().unscale(static_cast<int>(r.right - r.left));
    });
}

int WindowNotice::areaWidth() {
    return window_.tasks().call(0, [this] {
        RECT r{};
        GetClientRect(window_.hwnd(), &r);
        return window_.scale().unscale(static_cast<int>(r.right - r.left));
    });
}

}  // namespace velmora::ui

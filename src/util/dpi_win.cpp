#include "util/dpi_win.h"

#include "util/dpi_scale.h"
#include "util/runtime_binding.h"

namespace velmora {

namespace {

// The SDK declares these only for Windows 10 targets.
using GetDpiForWindowFn = UINT WINAPI(HWND);
using GetDpiForSystemFn = UINT WINAPI();
using GetSystemMetricsForDpiFn = int WINAPI(int, UINT);

}  // namespace

int systemDpi() {
    if (auto* forSystem = boundIfPresent<GetDpiForSystemFn>(SystemFunction::GetDpiForSystem)) {
        if (const UINT dpi = forSystem(); dpi > 0) return static_cast<int>(dpi);
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : kDesignDpi;
}

int windowDpi(HWND window) {
    if (window != nullptr) {
        if (auto* forWindow = boundIfPresent<GetDpiForWindowFn>(SystemFunction::GetDpiForWindow)) {
            if (const UINT dpi = forWindow(window); dpi > 0) return static_cast<int>(dpi);
        }
    }
    return systemDpi();
}

int systemMetricForDpi(int index, int dpi) {
    if (auto* forDpi = boundIfPresent<GetSystemMetricsForDpiFn>(SystemFunction::GetSystemMetricsForDpi)) {
        return forDpi(index, static_cast<UINT>(dpi));
    }
    return DpiScale::mulDiv(GetSystemMetrics(index), dpi, systemDpi());
}

LOGFONTW defaultGuiFontAt(int dpi) {
    LOGFONTW font{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    // Stock fonts are made for the system DPI; from there, as from 96 DPI,
    // a font's size is rounded towards zero (DpiScale::fontHeight).
    const int system = systemDpi();
    font.lfHeight = static_cast<LONG>(static_cast<long long>(font.lfHeight) * dpi / system);
    return font;
}

}  // namespace velmora

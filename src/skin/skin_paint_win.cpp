#include "skin/skin_paint_win.h"

#include <algorithm>

#include "util/dpi_win.h"

namespace velmora::skin {

BufferedPaint::BufferedPaint(HDC target, const RECT& area) : target_(target), area_(area) {
    const int w = area.right - area.left;
    const int h = area.bottom - area.top;
    if (w <= 0 || h <= 0) return;
    memory_ = CreateCompatibleDC(target);
    bitmap_ = memory_ ? CreateCompatibleBitmap(target, w, h) : nullptr;
    if (!bitmap_) {
        if (memory_) DeleteDC(memory_);
        memory_ = nullptr;
        return;
    }
    oldBitmap_ = SelectObject(memory_, bitmap_);
    SetWindowOrgEx(memory_, area.left, area.top, nullptr);
}

BufferedPaint::~BufferedPaint() {
    if (!memory_) return;
    BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top,
           memory_, area_.left, area_.top, SRCCOPY);
    SelectObject(memory_, oldBitmap_);
    DeleteObject(bitmap_);
    DeleteDC(memory_);
}

PaintScope::PaintScope(HWND window, HDC given) : window_(window), dc_(given) {
    if (!dc_) {
        dc_ = BeginPaint(window, &ps_);
        began_ = true;
    }
}

PaintScope::~PaintScope() {
    if (began_) EndPaint(window_, &ps_);
}

void fillSolidRect(HDC dc, const RECT& r, COLORREF colour) {
    const COLORREF old = SetBkColor(dc, colour);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    SetBkColor(dc, old);
}

void frameRect(HDC dc, const RECT& r, COLORREF colour, int width) {
    hLine(dc, r.left, r.right, r.top, colour, width);
    hLine(dc, r.left, r.right, r.bottom - width, colour, width);
    vLine(dc, r.left, r.top, r.bottom, colour, width);
    vLine(dc, r.right - width, r.top, r.bottom, colour, width);
}

void paintEdge(HWND window, COLORREF border, COLORREF inner) {
    RECT outer;
    RECT inside;
    GetWindowRect(window, &outer);
    GetClientRect(window, &inside);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&inside), 2);
    const int edge = std::max<int>(inside.left - outer.left, 0);
    if (edge == 0) return;
    HDC dc = GetWindowDC(window);
    if (!dc) return;
    RECT r{0, 0, outer.right - outer.left, outer.bottom - outer.top};
    const int line = std::min(edge, DpiScale(windowDpi(window)).line(1));
    frameRect(dc, r, border, line);
    InflateRect(&r, -line, -line);
    if (edge > line) frameRect(dc, r, inner, edge - line);
    ReleaseDC(window, dc);
}

void hLine(HDC dc, int x0, int x1, int y, COLORREF colour, int width) {
    const RECT r{x0, y, x1, y + width};
    fillSolidRect(dc, r, colour);
}

void vLine(HDC dc, int x, int y0, int y1, COLORREF colour, int width) {
    const RECT r{x, y0, x + width, y1};
    fillSolidRect(dc, r, colour);
}

namespace {

// A pen that draws inside the shape's rectangle however wide it is.
HPEN framePen(COLORREF colour, int line) {
    return CreatePen(line > 1 ? PS_INSIDEFRAME : PS_SOLID, line, colour);
}

}  // namespace

void roundPanel(HDC dc, const RECT& r, COLORREF fill, COLORREF border, int radius, int line) {
    if (radius <= 0) {
        fillSolidRect(dc, r, fill);
        frameRect(dc, r, border, line);
        return;
    }
    const ScopedGdiObject pen(framePen(border, line));
    const ScopedGdiObject brush(CreateSolidBrush(fill));
    const ScopedSelect usePen(dc, pen.get());
    const ScopedSelect useBrush(dc, brush.get());
    RoundRect(dc, r.left, r.top, r.right, r.bottom, radius * 2, radius * 2);
}

void roundFrame(HDC dc, const RECT& r, COLORREF colour, int radius, int line) {
    const ScopedGdiObject pen(framePen(colour, line));
    const ScopedSelect usePen(dc, pen.get());
    const ScopedSelect useBrush(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, r.left, r.top, r.right, r.bottom, radius * 2, radius * 2);
}

void chevron(HDC dc, int cx, int cy, COLORREF colour, DpiScale scale) {
    // Two strokes of a "v", stepping one pixel down a row, each two pixels
    // thick at 96 DPI so that it reads there; both grow with the DPI.
    const int half = scale(4);
    const int thick = scale(2);
    const int top = cy - half / 2;
    for (int i = 0; i < half; ++i) {
        const RECT left{cx - half + i, top + i, cx - half + i + thick, top + i + 1};
        const RECT right{cx + half - i - thick, top + i, cx + half - i, top + i + 1};
        fillSolidRect(dc, left, colour);
        fillSolidRect(dc, right, colour);
    }
    const RECT tip{cx - thick / 2, top + half, cx - thick / 2 + thick, top + half + 1};
    fillSolidRect(dc, tip, colour);
}

void drawText(HDC dc, const std::wstring& text, RECT r, HFONT font, COLORREF colour, UINT format) {
    const ScopedSelect useFont(dc, font);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, colour);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

SIZE textSize(HDC dc, const std::wstring& text, HFONT font) {
    const ScopedSelect useFont(dc, font);
    SIZE size{0, 0};
    if (text.empty()) {
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        size.cy = tm.tmHeight;
    } else {
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    }
    return size;
}

std::wstring windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    const int n = GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return std::wstring(name, static_cast<std::size_t>(n > 0 ? n : 0));
}

void excludeChildren(HDC dc, HWND parent) {
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
}

RECT clientRect(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return r;
}

}  // namespace velmora::skin

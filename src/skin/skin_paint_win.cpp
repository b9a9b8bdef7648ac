#include "skin/skin_paint_win.h"

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

void frameRect(HDC dc, const RECT& r, COLORREF colour) {
    hLine(dc, r.left, r.right, r.top, colour);
    hLine(dc, r.left, r.right, r.bottom - 1, colour);
    vLine(dc, r.left, r.top, r.bottom, colour);
    vLine(dc, r.right - 1, r.top, r.bottom, colour);
}

void hLine(HDC dc, int x0, int x1, int y, COLORREF colour) {
    const RECT r{x0, y, x1, y + 1};
    fillSolidRect(dc, r, colour);
}

void vLine(HDC dc, int x, int y0, int y1, COLORREF colour) {
    const RECT r{x, y0, x + 1, y1};
    fillSolidRect(dc, r, colour);
}

void roundPanel(HDC dc, const RECT& r, COLORREF fill, COLORREF border, int radius) {
    if (radius <= 0) {
        fillSolidRect(dc, r, fill);
        frameRect(dc, r, border);
        return;
    }
    HPEN pen = CreatePen(PS_SOLID, 1, border);
    HBRUSH brush = CreateSolidBrush(fill);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    RoundRect(dc, r.left, r.top, r.right, r.bottom, radius * 2, radius * 2);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

void roundFrame(HDC dc, const RECT& r, COLORREF colour, int radius) {
    HPEN pen = CreatePen(PS_SOLID, 1, colour);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, r.left, r.top, r.right, r.bottom, radius * 2, radius * 2);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

void chevron(HDC dc, int cx, int cy, COLORREF colour) {
    // Two strokes of a "v", each two pixels thick so that it reads at 96 dpi.
    for (int i = 0; i < 4; ++i) {
        const RECT left{cx - 4 + i, cy - 2 + i, cx - 2 + i, cy - 1 + i};
        const RECT right{cx + 2 - i, cy - 2 + i, cx + 4 - i, cy - 1 + i};
        fillSolidRect(dc, left, colour);
        fillSolidRect(dc, right, colour);
    }
    const RECT tip{cx - 1, cy + 2, cx + 1, cy + 3};
    fillSolidRect(dc, tip, colour);
}

void drawText(HDC dc, const std::wstring& text, RECT r, HFONT font, COLORREF colour, UINT format) {
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, colour);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    if (font) SelectObject(dc, oldFont);
}

SIZE textSize(HDC dc, const std::wstring& text, HFONT font) {
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    SIZE size{0, 0};
    if (text.empty()) {
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        size.cy = tm.tmHeight;
    } else {
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    }
    if (font) SelectObject(dc, oldFont);
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

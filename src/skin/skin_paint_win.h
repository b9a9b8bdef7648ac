// Small drawing helpers shared by the skinned controls.
#pragma once

#include <windows.h>

#include <string>

#include "util/dpi_scale.h"

namespace velmora::skin {

// SelectObject undone when the scope ends, so that no early return leaves a
// DC holding a pen, brush or font of ours.
class ScopedSelect {
public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
    ~ScopedSelect() {
        if (old_) SelectObject(dc_, old_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

// A pen or brush made for one drawing, deleted when the scope ends (after
// the ScopedSelect that put it into a DC, which is declared after it).
class ScopedGdiObject {
public:
    explicit ScopedGdiObject(HGDIOBJ object) : object_(object) {}
    ~ScopedGdiObject() {
        if (object_) DeleteObject(object_);
    }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
    HGDIOBJ get() const { return object_; }

private:
    HGDIOBJ object_;
};

// Paints into a memory bitmap and copies it to the target when it goes, so
// a control never flickers through its intermediate states.
class BufferedPaint {
public:
    BufferedPaint(HDC target, const RECT& area);
    ~BufferedPaint();
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;

    HDC dc() const { return memory_ ? memory_ : target_; }

private:
    HDC target_;
    RECT area_;
    HDC memory_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ oldBitmap_ = nullptr;
};

// BeginPaint/EndPaint as a scope; WM_PRINTCLIENT passes a DC of its own.
class PaintScope {
public:
    PaintScope(HWND window, HDC given);
    ~PaintScope();
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HDC dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
    bool began_ = false;
};

void fillSolidRect(HDC dc, const RECT& r, COLORREF colour);
// Lines and frames `width` pixels thick, inside the rectangle.
void frameRect(HDC dc, const RECT& r, COLORREF colour, int width = 1);
void hLine(HDC dc, int x0, int x1, int y, COLORREF colour, int width = 1);
void vLine(HDC dc, int x, int y0, int y1, COLORREF colour, int width = 1);
// Paints the non-client edge the system gave `window` (whatever its width
// at the window's DPI): a line of `border` outside, the rest in `inner`.
void paintEdge(HWND window, COLORREF border, COLORREF inner);
// A filled rectangle with a border `line` pixels wide and rounded corners.
void roundPanel(HDC dc, const RECT& r, COLORREF fill, COLORREF border, int radius, int line = 1);
// Only the outline of a rounded rectangle.
void roundFrame(HDC dc, const RECT& r, COLORREF colour, int radius, int line = 1);
// A small downward chevron centred on (cx, cy), 8 by 5 pixels at 96 DPI.
void chevron(HDC dc, int cx, int cy, COLORREF colour, DpiScale scale);

// Draws text with a transparent background in the given font and colour
// (DrawText's format flags; pass DT_NOPREFIX where '&' is plain text).
void drawText(HDC dc, const std::wstring& text, RECT r, HFONT font, COLORREF colour, UINT format);
SIZE textSize(HDC dc, const std::wstring& text, HFONT font);

std::wstring windowText(HWND window);
std::wstring className(HWND window);
// Leaves the areas of the visible child windows out of the DC's clipping.
void excludeChildren(HDC dc, HWND parent);
RECT clientRect(HWND window);

}  // namespace velmora::skin

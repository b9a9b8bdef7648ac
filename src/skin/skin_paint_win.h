// Small drawing helpers shared by the skinned controls.
#pragma once

#include <windows.h>

#include <string>

namespace velmora::skin {

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
void frameRect(HDC dc, const RECT& r, COLORREF colour);
void hLine(HDC dc, int x0, int x1, int y, COLORREF colour);
void vLine(HDC dc, int x, int y0, int y1, COLORREF colour);
// A filled rectangle with a one-pixel border and rounded corners.
void roundPanel(HDC dc, const RECT& r, COLORREF fill, COLORREF border, int radius);
// Only the outline of a rounded rectangle.
void roundFrame(HDC dc, const RECT& r, COLORREF colour, int radius);
// A small downward chevron centred on (cx, cy).
void chevron(HDC dc, int cx, int cy, COLORREF colour);

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

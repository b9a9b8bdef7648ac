#include <string>

#include "skin/skin_draw_win.h"
#include "skin/skin_paint_win.h"

namespace velmora::skin {
namespace {

COLORREF c(Rgb rgb) { return Theme::toColorRef(rgb); }

UINT alignmentOf(int headerFormat) {
    switch (headerFormat & HDF_JUSTIFYMASK) {
        case HDF_CENTER: return DT_CENTER;
        case HDF_RIGHT: return DT_RIGHT;
        default: return DT_LEFT;
    }
}

std::wstring statusText(HWND bar, int part, bool& ownerDrawn) {
    const auto info = SendMessageW(bar, SB_GETTEXTLENGTHW, static_cast<WPARAM>(part), 0);
    ownerDrawn = (HIWORD(info) & SBT_OWNERDRAW) != 0;
    const std::size_t length = LOWORD(info);
    if (ownerDrawn || length == 0) return {};
    std::wstring text(length + 1, L'\0');
    SendMessageW(bar, SB_GETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcsnlen(text.c_str(), length));
    // Trailing blanks only pad the panel; keeping them would put an
    // ellipsis where the words still fit.
    while (!text.empty() && text.back() == L' ') text.pop_back();
    return text;
}

}  // namespace

void paintHeader(Engine& engine, const SkinnedWindow& w, HDC given) {
    const HWND header = w.window;
    PaintScope paint(header, given);
    const RECT rc = clientRect(header);
    BufferedPaint buffer(paint.dc(), rc);
    const HDC dc = buffer.dc();
    const SkinPalette& p = engine.theme().palette();
    const DpiScale s = Engine::scaleOf(header);
    const HFONT bold = engine.fontsOf(header).bold;
    const HFONT font = bold ? bold : reinterpret_cast<HFONT>(SendMessageW(header, WM_GETFONT, 0, 0));

    fillSolidRect(dc, rc, c(p.headerBack));
    const auto count = SendMessageW(header, HDM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        RECT item{};
        if (!SendMessageW(header, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item))) {
            continue;
        }
        wchar_t caption[260] = {};
        HDITEMW hi{};
        hi.mask = HDI_TEXT | HDI_FORMAT;
        hi.pszText = caption;
        hi.cchTextMax = static_cast<int>(std::size(caption));
        SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&hi));
        if (i == w.pressedItem) fillSolidRect(dc, item, Theme::blend(p.headerBack, p.accent, 48));
        RECT text = item;
        InflateRect(&text, -s(5), 0);
        drawText(dc, caption, text, font, c(p.headerText),
                 alignmentOf(hi.fmt) | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        vLine(dc, item.right - s.line(1), item.top + s(5), item.bottom - s(5), c(p.headerDivider), s.line(1));
    }
    // A line in the accent colour closes the header towards the rows.
    const RECT rule{rc.left, rc.bottom - s.line(2), rc.right, rc.bottom};
    fillSolidRect(dc, rule, c(p.accent));
}

void paintStatusBar(Engine& engine, HWND bar, HDC given) {
    PaintScope paint(bar, given);
    const RECT rc = clientRect(bar);
    BufferedPaint buffer(paint.dc(), rc);
    const HDC dc = buffer.dc();
    const SkinPalette& p = engine.theme().palette();
    const DpiScale s = Engine::scaleOf(bar);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(bar, WM_GETFONT, 0, 0));
    const UINT format = DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;

    fillSolidRect(dc, rc, c(p.statusBack));
    if (SendMessageW(bar, SB_ISSIMPLE, 0, 0)) {
        RECT text = rc;
        InflateRect(&text, -s(6), 0);
        drawText(dc, windowText(bar), text, font, c(p.statusText), format);
        return;
    }
    const auto parts = SendMessageW(bar, SB_GETPARTS, 0, 0);
    for (int i = 0; i < parts; ++i) {
        RECT part{};
        if (!SendMessageW(bar, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&part))) continue;
        bool ownerDrawn = false;
        const std::wstring text = statusText(bar, i, ownerDrawn);
        RECT area{part.left + s(5), rc.top, part.right - s(2), rc.bottom};
        if (!ownerDrawn) drawText(dc, text, area, font, c(p.statusText), format);
        if (i + 1 < parts) {
            vLine(dc, part.right, rc.top + s(4), rc.bottom - s(4), c(p.statusDivider), s.line(1));
        }
    }
}

}  // namespace velmora::skin

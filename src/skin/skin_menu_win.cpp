// Pop-up menus: while a menu is open its items are owner-drawn by the skin;
// when the menu loop ends they get their own type, text and data back, so
// the program never sees a changed menu.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "skin/skin_draw_win.h"
#include "skin/skin_paint_win.h"
#include "util/window_subclass_win.h"

namespace velmora::skin {
namespace {

struct DrawnItem {
    HMENU menu = nullptr;
    UINT position = 0;
    UINT type = 0;          // the item's own type flags
    ULONG_PTR data = 0;     // the item's own data
    std::wstring text;
};

// Menus are modal on the window thread; one list serves every open menu.
std::vector<std::unique_ptr<DrawnItem>> g_items;

COLORREF c(Rgb rgb) { return Theme::toColorRef(rgb); }

const DrawnItem* ours(ULONG_PTR data) {
    for (const auto& item : g_items) {
        if (reinterpret_cast<ULONG_PTR>(item.get()) == data) return item.get();
    }
    return nullptr;
}

// Menus take the DPI of the window they belong to.
HFONT menuFont(Engine& engine, HWND owner) { return engine.fontsOf(owner).menu; }

std::wstring itemText(HMENU menu, UINT position) {
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_STRING;
    if (!GetMenuItemInfoW(menu, position, TRUE, &mi) || mi.cch == 0) return {};
    std::wstring text(mi.cch + 1, L'\0');
    mi.dwTypeData = text.data();
    mi.cch = static_cast<UINT>(text.size());
    if (!GetMenuItemInfoW(menu, position, TRUE, &mi)) return {};
    text.resize(mi.cch);
    return text;
}

void takeOver(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const auto position = static_cast<UINT>(i);
        MENUITEMINFOW mi{};
        mi.cbSize = sizeof mi;
        mi.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_BITMAP;
        if (!GetMenuItemInfoW(menu, position, TRUE, &mi)) continue;
        if ((mi.fType & (MFT_OWNERDRAW | MFT_BITMAP)) || mi.hbmpItem) continue;
        auto item = std::make_unique<DrawnItem>();
        item->menu = menu;
        item->position = position;
        item->type = mi.fType;
        item->data = mi.dwItemData;
        item->text = (mi.fType & MFT_SEPARATOR) ? std::wstring() : itemText(menu, position);
        MENUITEMINFOW drawn{};
        drawn.cbSize = sizeof drawn;
        drawn.fMask = MIIM_FTYPE | MIIM_DATA;
        drawn.fType = mi.fType | MFT_OWNERDRAW;
        drawn.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
        if (SetMenuItemInfoW(menu, position, TRUE, &drawn)) g_items.push_back(std::move(item));
    }
}

void measure(Engine& engine, HWND owner, MEASUREITEMSTRUCT& m, const DrawnItem& item) {
    const DpiScale s = Engine::scaleOf(owner);
    if (item.type & MFT_SEPARATOR) {
        m.itemWidth = static_cast<UINT>(s(20));
        m.itemHeight = static_cast<UINT>(s(7));
        return;
    }
    const std::size_t tab = item.text.find(L'\t');
    const HFONT font = menuFont(engine, owner);
    HDC dc = GetDC(owner);
    const SIZE label = textSize(dc, item.text.substr(0, tab), font);
    const SIZE keys = tab == std::wstring::npos ? SIZE{0, 0} : textSize(dc, item.text.substr(tab + 1), font);
    ReleaseDC(owner, dc);
    m.itemWidth = static_cast<UINT>(s(8) + label.cx + (keys.cx ? s(24) + keys.cx : 0) + s(20));
    m.itemHeight = static_cast<UINT>(std::max<LONG>(label.cy + s(10), s(24)));
}

void draw(Engine& engine, HWND owner, const DRAWITEMSTRUCT& d, const DrawnItem& item) {
    const SkinPalette& p = engine.theme().palette();
    const DpiScale s = Engine::scaleOf(owner);
    const HDC dc = d.hDC;
    const RECT rc = d.rcItem;
    fillSolidRect(dc, rc, c(p.menuBack));
    if (item.type & MFT_SEPARATOR) {
        hLine(dc, rc.left + s(8), rc.right - s(8), (rc.top + rc.bottom) / 2, c(p.menuSeparator), s.line(1));
        return;
    }
    const bool disabled = (d.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    const bool selected = (d.itemState & ODS_SELECTED) != 0 && !disabled;
    if (selected) {
        RECT band = rc;
        InflateRect(&band, -s(3), -s.line(1));
        roundPanel(dc, band, c(p.menuHighlightBack), c(p.menuHighlightBack),
                   s(std::min(engine.theme().cornerRadius(), 3)), s.line(1));
    }
    const COLORREF text = c(disabled ? p.disabledText : selected ? p.menuHighlightText : p.menuText);
    if (d.itemState & ODS_CHECKED) {
        const int cy = (rc.top + rc.bottom) / 2;
        const RECT mark{rc.left + s(9), cy - s(3), rc.left + s(15), cy + s(3)};
        fillSolidRect(dc, mark, selected ? text : c(p.accent));
    }
    const std::size_t tab = item.text.find(L'\t');
    const UINT format = DT_SINGLELINE | DT_VCENTER | ((d.itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0);
    const HFONT font = menuFont(engine, owner);
    RECT label{rc.left + s(20), rc.top, rc.right - s(12), rc.bottom};
    drawText(dc, item.text.substr(0, tab), label, font, text, DT_LEFT | format);
    if (tab != std::wstring::npos) {
        drawText(dc, item.text.substr(tab + 1), label, font, text, DT_RIGHT | format);
    }
}

}  // namespace

void paintMenuFrame(Engine& engine, HWND menuWindow) {
    const SkinPalette& p = engine.theme().palette();
    paintEdge(menuWindow, c(p.groupBorder), c(p.menuBack));
}

void restoreMenus() {
    for (const auto& item : g_items) {
        MENUITEMINFOW mi{};
        mi.cbSize = sizeof mi;
        mi.fMask = MIIM_FTYPE | MIIM_DATA;
        mi.fType = item->type;
        mi.dwItemData = item->data;
        if (!(item->type & MFT_SEPARATOR)) {
            mi.fMask |= MIIM_STRING;
            mi.dwTypeData = item->text.data();
        }
        SetMenuItemInfoW(item->menu, item->position, TRUE, &mi);
    }
    g_items.clear();
}

bool menuMessage(Engine& engine, HWND owner, UINT message, WPARAM wParam, LPARAM lParam,
                 LRESULT& result) {
    switch (message) {
        case WM_INITMENUPOPUP:
            // The program may fill the menu first; the window menu stays as
            // the system draws it.
            result = defSubclassProc(owner, message, wParam, lParam);
            if (!HIWORD(lParam)) takeOver(reinterpret_cast<HMENU>(wParam));
            return true;
        case WM_EXITMENULOOP:
            restoreMenus();
            return false;
        case WM_MEASUREITEM: {
            auto* m = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            const DrawnItem* item = m && m->CtlType == ODT_MENU ? ours(m->itemData) : nullptr;
            if (!item) return false;
            measure(engine, owner, *m, *item);
            result = TRUE;
            return true;
        }
        case WM_DRAWITEM: {
            const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            const DrawnItem* item = d && d->CtlType == ODT_MENU ? ours(d->itemData) : nullptr;
            if (!item) return false;
            draw(engine, owner, *d, *item);
            result = TRUE;
            return true;
        }
        default:
            return false;
    }
}

}  // namespace velmora::skin

#include "ui/control_setup_win.h"

#include <commctrl.h>

#include <span>
#include <string>
#include <string_view>

#include "util/wide.h"
#include "util/window_subclass_win.h"

namespace velmora::ui {

namespace {

void fillList(HWND list, DpiScale scale) {
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    ListView_SetBkColor(list, RGB(255, 255, 255));
    ListView_SetTextBkColor(list, RGB(255, 255, 255));
    int index = 0;
    for (const ColumnEntry& col : listColumns()) {
        std::wstring caption = toWide(col.caption);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = col.centred ? LVCFMT_CENTER : LVCFMT_LEFT;
        column.cx = scale(col.width);
        column.pszText = caption.data();
        column.iSubItem = index;
        SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&column));
        ++index;
    }
}

void fillCombo(HWND combo, std::span<const std::string_view> items, int selected) {
    for (std::string_view item : items) {
        std::wstring text = toWide(item);
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
    // The typed port has no length limit.
    SendMessageW(combo, CB_LIMITTEXT, 0, 0);
}

// Group boxes are parents of the controls inside them, but a group box does
// not pass its children's notifications on; this subclass forwards them to
// the main window, where the handlers are bound.
LRESULT CALLBACK groupBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR) {
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
            if (HWND main = GetParent(window)) return SendMessageW(main, message, wParam, lParam);
            break;
        case WM_ERASEBKGND: {
            // A group box draws only its frame; as a parent of controls it
            // must fill its inside itself, or the area behind them stays
            // unpainted (the main window clips its children).
            RECT inside{};
            GetClientRect(window, &inside);
            FillRect(reinterpret_cast<HDC>(wParam), &inside, GetSysColorBrush(COLOR_BTNFACE));
            return TRUE;
        }
        default:
            break;
    }
    return defSubclassProc(window, message, wParam, lParam);
}

int heightOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return static_cast<int>(r.bottom - r.top);
}

// The bar adds its borders to the minimum it is given, by an amount that
// differs between systems: the first guess is corrected once by what the
// bar came out at.
void dockStatusBar(HWND bar, int wanted) {
    int borders[3] = {};
    SendMessageW(bar, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders));
    int minimum = wanted - borders[1];
    for (int attempt = 0; attempt < 2 && minimum > 0; ++attempt) {
        SendMessageW(bar, SB_SETMINHEIGHT, static_cast<WPARAM>(minimum), 0);
        SendMessageW(bar, WM_SIZE, 0, 0);
        const int got = heightOf(bar);
        if (got == wanted) break;
        minimum += wanted - got;
    }
}

// A combo box's closed field takes its height from the font, with edges
// that not every system scales; raised to the table's height where it
// falls short. How the field's height relates to the box's differs between
// systems (Wine reads back two pixels more than it was given), so the
// height asked for is corrected once by what the box came out at.
void fitComboField(HWND combo, int wanted) {
    auto field = static_cast<int>(SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    for (int attempt = 0; attempt < 2 && field > 0; ++attempt) {
        const int closed = heightOf(combo);
        if (closed == wanted || (attempt == 0 && closed > wanted)) return;
        field += wanted - closed;
        if (field <= 0) return;
        SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    }
}

void setStatusPanels(HWND bar, DpiScale scale) {
    const auto edges = statusEdgesAt(scale);
    SendMessageW(bar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void fillStatusBar(HWND bar, DpiScale scale) {
    setStatusPanels(bar, scale);
    const auto panels = statusPanels();
    for (std::size_t i = 0; i < panels.size(); ++i) {
        std::wstring text = toWide(panels[i].text);
        SendMessageW(bar, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

RECT placeInParent(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Where the control goes at `scale`; a combo box is made as high as it is
// with its list open, the closed field taking the height its font needs.
Place placeFor(const ControlEntry& c, DpiScale scale) {
    Place at = placeAt(c, scale);
    if (c.kind == ControlKind::DropDownList || c.kind == ControlKind::DropDownCombo) {
        at.height = scale(mainWindowEntry().comboOpenHeight);
    }
    return at;
}

// The widths the columns have now, whether the table's or dragged by the
// user, carried over to the new DPI.
void rescaleColumns(HWND list, DpiScale from, DpiScale to) {
    const auto header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const auto count = header != nullptr ? SendMessageW(header, HDM_GETITEMCOUNT, 0, 0) : 0;
    for (int i = 0; i < count; ++i) {
        const auto column = static_cast<WPARAM>(i);
        const auto width = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, column, 0));
        const int rescaled = DpiScale::mulDiv(width, to.dpi(), from.dpi());
        SendMessageW(list, LVM_SETCOLUMNWIDTH, column, MAKELPARAM(rescaled, 0));
    }
}

}  // namespace

ControlClass controlClassFor(const ControlEntry& c) {
    DWORD common = WS_CHILD | (c.visible ? WS_VISIBLE : 0) | (c.tabStop ? WS_TABSTOP : 0);
    switch (c.kind) {
        case ControlKind::Label:
            return {L"STATIC", common | SS_LEFTNOWORDWRAP | SS_NOPREFIX, 0};
        case ControlKind::LinkLabel:
            // SS_NOTIFY lets the label receive the mouse button itself.
            return {L"STATIC", common | SS_LEFT | SS_NOPREFIX | SS_NOTIFY, WS_EX_TRANSPARENT};
        case ControlKind::GroupBox:
            return {L"BUTTON", common | BS_GROUPBOX, WS_EX_CONTROLPARENT};
        case ControlKind::Edit:
            return {L"EDIT", common | ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::MultiLineEdit:
            return {L"EDIT", common | ES_LEFT | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL,
                    WS_EX_CLIENTEDGE};
        case ControlKind::DropDownList:
            return {L"COMBOBOX", common | CBS_DROPDOWNLIST | WS_VSCROLL, 0};
        case ControlKind::DropDownCombo:
            return {L"COMBOBOX", common | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL, 0};
        case ControlKind::PushButton:
            return {L"BUTTON", common | BS_PUSHBUTTON, 0};
        case ControlKind::ReportList:
            // Owner data: the rows live in the window's table (ProxyListView).
            return {WC_LISTVIEWW,
                    common | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_OWNERDATA,
                    WS_EX_CLIENTEDGE};
        case ControlKind::StatusBar:
            return {STATUSCLASSNAMEW, common, 0};
    }
    return {L"STATIC", common, 0};
}

void fillControl(HWND control, const ControlEntry& c, DpiScale scale) {
    switch (c.kind) {
        case ControlKind::ReportList:
            fillList(control, scale);
            break;
        case ControlKind::DropDownList:
            fillCombo(control, carrierItems(), 0);
            break;
        case ControlKind::DropDownCombo:
            fillCombo(control, portItems(), -1);
            break;
        case ControlKind::StatusBar:
            fillStatusBar(control, scale);
            break;
        case ControlKind::MultiLineEdit:
            // The found lines of a large answer must fit whole.
            SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
            break;
        default:
            break;
    }
}

bool createControls(HWND main, HINSTANCE instance, DpiScale scale, HFONT font,
                    std::map<int, HWND>& created) {
    for (const ControlEntry& c : controlTable()) {
        HWND parent = main;
        if (c.parent != kNoParent) {
            const auto found = created.find(c.parent);
            if (found == created.end()) return false;
            parent = found->second;
        }
        const ControlClass s = controlClassFor(c);
        const Place at = placeFor(c, scale);
        HWND control = CreateWindowExW(s.exStyle, s.className, toWide(c.text).c_str(), s.style,
                                       at.left, at.top, at.width, at.height, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                       instance, nullptr);
        if (control == nullptr) return false;
        created[c.id] = control;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (c.kind == ControlKind::GroupBox) subclassWindow(control, groupBoxProc, 1, 0);
        fillControl(control, c, scale);
    }
    return true;
}

void layOutControlsAgain(const std::map<int, HWND>& controls, DpiScale from, DpiScale to, HFONT font) {
    for (const ControlEntry& c : controlTable()) {
        const auto found = controls.find(c.id);
        if (found == controls.end()) continue;
        HWND control = found->second;
        // The font first: a combo box sizes its closed field by it.
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (c.kind == ControlKind::StatusBar) {
            setStatusPanels(control, to);
            continue;
        }
        Place at = placeFor(c, to);
        // The notice runs on from where it had scrolled to.
        if (c.id == kNoticeLabel) at.left = to(from.unscale(placeInParent(control).left));
        SetWindowPos(control, nullptr, at.left, at.top, at.width, at.height, SWP_NOZORDER | SWP_NOACTIVATE);
        if (c.kind == ControlKind::ReportList) rescaleColumns(control, from, to);
    }
    settleHeights(controls, to);
}

void settleHeights(const std::map<int, HWND>& controls, DpiScale scale) {
    for (const ControlEntry& c : controlTable()) {
        const auto found = controls.find(c.id);
        if (found == controls.end()) continue;
        if (c.kind == ControlKind::DropDownList || c.kind == ControlKind::DropDownCombo) {
            fitComboField(found->second, scale(c.height));
        } else if (c.kind == ControlKind::StatusBar) {
            dockStatusBar(found->second, scale(c.height));
        }
    }
}

HMENU buildListMenu() {
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) return nullptr;
    for (const MenuItemEntry& item : listMenuItems()) {
        if (item.id == 0) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.id),
                        toWide(item.caption).c_str());
        }
    }
    return menu;
}

}  // namespace velmora::ui

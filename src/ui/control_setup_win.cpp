#include "ui/control_setup_win.h"

#include <commctrl.h>

#include <span>
#include <string>
#include <string_view>

#include "util/wide.h"
#include "util/window_subclass_win.h"

namespace velmora::ui {

namespace {

void fillList(HWND list) {
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    ListView_SetBkColor(list, RGB(255, 255, 255));
    ListView_SetTextBkColor(list, RGB(255, 255, 255));
    int index = 0;
    for (const ColumnEntry& col : listColumns()) {
        std::wstring caption = toWide(col.caption);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.fmt = col.centred ? LVCFMT_CENTER : LVCFMT_LEFT;
        column.cx = col.width;
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

void fillStatusBar(HWND bar) {
    const auto panels = statusPanels();
    int edges[2] = {};
    int right = 0;
    for (std::size_t i = 0; i < panels.size() && i < 2; ++i) {
        right += panels[i].width;
        edges[i] = right;
    }
    SendMessageW(bar, SB_SETPARTS, panels.size(), reinterpret_cast<LPARAM>(edges));
    for (std::size_t i = 0; i < panels.size(); ++i) {
        std::wstring text = toWide(panels[i].text);
        SendMessageW(bar, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(text.c_str()));
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

void fillControl(HWND control, const ControlEntry& c) {
    switch (c.kind) {
        case ControlKind::ReportList:
            fillList(control);
            break;
        case ControlKind::DropDownList:
            fillCombo(control, carrierItems(), 0);
            break;
        case ControlKind::DropDownCombo:
            fillCombo(control, portItems(), -1);
            break;
        case ControlKind::StatusBar:
            fillStatusBar(control);
            break;
        case ControlKind::MultiLineEdit:
            // The found lines of a large answer must fit whole.
            SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
            break;
        default:
            break;
    }
}

bool createControls(HWND main, HINSTANCE instance, std::map<int, HWND>& created) {
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    const int comboHeight = mainWindowEntry().comboOpenHeight;
    for (const ControlEntry& c : controlTable()) {
        HWND parent = main;
        if (c.parent != kNoParent) {
            const auto found = created.find(c.parent);
            if (found == created.end()) return false;
            parent = found->second;
        }
        const ControlClass s = controlClassFor(c);
        const bool combo =
            c.kind == ControlKind::DropDownList || c.kind == ControlKind::DropDownCombo;
        const int height = combo ? comboHeight : c.height;
        HWND control = CreateWindowExW(s.exStyle, s.className, toWide(c.text).c_str(), s.style,
                                       c.left, c.top, c.width, height, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                       instance, nullptr);
        if (control == nullptr) return false;
        created[c.id] = control;
        SendMessageW(control, WM_SETFONT, font, FALSE);
        if (c.kind == ControlKind::GroupBox) subclassWindow(control, groupBoxProc, 1, 0);
        fillControl(control, c);
    }
    return true;
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

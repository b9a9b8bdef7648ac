#include "ui/link_labels_win.h"

#include "ui/layout.h"

namespace velmora::ui {

namespace {

constexpr COLORREF kLinkColour = RGB(0, 51, 204);

}  // namespace

bool isLinkLabel(int controlId) {
    const ControlEntry* entry = findControl(controlId);
    return entry != nullptr && entry->kind == ControlKind::LinkLabel;
}

HBRUSH colourLinkLabel(HWND label, HDC dc) {
    if (!isLinkLabel(GetDlgCtrlID(label))) return nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kLinkColour);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

bool setLinkCursor(HWND window) {
    if (!isLinkLabel(GetDlgCtrlID(window))) return false;
    SetCursor(LoadCursorW(nullptr, IDC_HAND));
    return true;
}

}  // namespace velmora::ui

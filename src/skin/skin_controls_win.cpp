#include <algorithm>
#include <string>

#include "skin/skin_draw_win.h"
#include "skin/skin_paint_win.h"

namespace velmora::skin {
namespace {

COLORREF c(Rgb rgb) { return Theme::toColorRef(rgb); }

HFONT windowFont(HWND window) {
    return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
}

bool hidesAccelerators(HWND window) {
    return (SendMessageW(window, WM_QUERYUISTATE, 0, 0) & UISF_HIDEACCEL) != 0;
}

}  // namespace

void paintGroupBox(Engine& engine, HWND box, HDC given) {
    PaintScope paint(box, given);
    const RECT rc = clientRect(box);
    excludeChildren(paint.dc(), box);
    BufferedPaint buffer(paint.dc(), rc);
    const HDC dc = buffer.dc();
    Theme& theme = engine.theme();
    const SkinPalette& p = theme.palette();
    const DpiScale s = Engine::scaleOf(box);

    fillSolidRect(dc, rc, engine.backgroundOf(GetParent(box)));
    roundPanel(dc, rc, c(p.groupBack), c(p.groupBorder), s(theme.cornerRadius()), s.line(1));

    const std::wstring caption = windowText(box);
    if (caption.empty()) return;
    const HFONT bold = engine.fontsOf(box).bold;
    const HFONT font = bold ? bold : windowFont(box);
    const SIZE size = textSize(dc, caption, font);
    // The caption sits inside the panel's top edge, marked by a short bar
    // in the accent colour; the controls begin below it.
    const RECT bar{rc.left + s(6), rc.top + s(4), rc.left + s(9), rc.top + s(1) + size.cy - s(3)};
    fillSolidRect(dc, bar, c(p.accent));
    const RECT text{rc.left + s(13), rc.top + s(1), rc.right - s(6), rc.top + s(1) + size.cy};
    const bool enabled = IsWindowEnabled(box) != FALSE;
    drawText(dc, caption, text, font, c(enabled ? p.groupText : p.disabledText),
             DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS |
                 (hidesAccelerators(box) ? DT_HIDEPREFIX : 0));
}

void paintPushButton(Engine& engine, const SkinnedWindow& button, HDC given) {
    const HWND window = button.window;
    PaintScope paint(window, given);
    const RECT rc = clientRect(window);
    BufferedPaint buffer(paint.dc(), rc);
    const HDC dc = buffer.dc();
    Theme& theme = engine.theme();
    const SkinPalette& p = theme.palette();
    const DpiScale s = Engine::scaleOf(window);

    const auto state = SendMessageW(window, BM_GETSTATE, 0, 0);
    const bool pressed = (state & BST_PUSHED) != 0;
    const bool enabled = IsWindowEnabled(window) != FALSE;
    const bool focused = GetFocus() == window;
    const auto style = GetWindowLongPtrW(window, GWL_STYLE);
    const bool isDefault = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;

    fillSolidRect(dc, rc, engine.backgroundOf(GetParent(window)));
    COLORREF face = c(pressed ? p.buttonFacePressed : button.hot ? p.buttonFaceHot : p.buttonFace);
    if (!enabled) face = Theme::blend(p.buttonFace, p.windowBack, 150);
    const int radius = s(theme.cornerRadius());
    roundPanel(dc, rc, face, c(p.buttonBorder), radius, s.line(1));
    if (enabled && (focused || isDefault)) {
        RECT ring = rc;
        InflateRect(&ring, -s(2), -s(2));
        roundFrame(dc, ring, Theme::blend(p.buttonFace, p.buttonText, focused ? 150 : 70),
                   std::max(0, radius - s(2)), s.line(1));
    }

    RECT text = rc;
    InflateRect(&text, -s(4), -s(2));
    if (pressed) OffsetRect(&text, 0, s.line(1));
    const UINT lines = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER;
    drawText(dc, windowText(window), text, windowFont(window),
             c(enabled ? p.buttonText : p.disabledText),
             DT_CENTER | lines | (hidesAccelerators(window) ? DT_HIDEPREFIX : 0));
}

namespace {

std::wstring selectedItemText(HWND combo) {
    const auto selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (selected < 0) return {};
    const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, selected, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const auto got = SendMessageW(combo, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    return text;
}

void drawDropButton(HDC dc, const SkinPalette& p, RECT button, bool pushed, bool enabled, DpiScale s) {
    if (button.right <= button.left) return;
    fillSolidRect(dc, button, pushed ? c(p.buttonFacePressed) : c(p.headerBack));
    vLine(dc, button.left, button.top, button.bottom, c(p.editBorder), s.line(1));
    chevron(dc, (button.left + button.right) / 2 + s.line(1), (button.top + button.bottom) / 2,
            pushed ? c(p.buttonText) : c(enabled ? p.accent : p.disabledText), s);
}

}  // namespace

void paintComboBox(Engine& engine, HWND combo, HDC given) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (!GetComboBoxInfo(combo, &info)) return;
    PaintScope paint(combo, given);
    const RECT rc = clientRect(combo);
    excludeChildren(paint.dc(), combo);  // the edit field draws itself
    BufferedPaint buffer(paint.dc(), rc);
    const HDC dc = buffer.dc();
    Theme& theme = engine.theme();
    const SkinPalette& p = theme.palette();
    const DpiScale s = Engine::scaleOf(combo);

    const HWND focus = GetFocus();
    const bool focused = focus == combo || (info.hwndItem && focus == info.hwndItem);
    const bool dropped = SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0;
    const bool enabled = IsWindowEnabled(combo) != FALSE;
    const COLORREF back = enabled ? c(p.editBack) : Theme::blend(p.editBack, p.windowBack, 128);

    fillSolidRect(dc, rc, engine.backgroundOf(GetParent(combo)));
    const int line = s.line(1);
    roundPanel(dc, rc, back, c(focused || dropped ? p.editFocusBorder : p.editBorder),
               s(std::min(theme.cornerRadius(), 3)), line);
    const RECT button{info.rcButton.left, rc.top + line, rc.right - line, rc.bottom - line};
    drawDropButton(dc, p, button, dropped || (info.stateButton & STATE_SYSTEM_PRESSED), enabled, s);
    if (info.hwndItem) return;

    RECT item = info.rcItem;
    item.top = std::max<LONG>(item.top, rc.top + s(2));
    item.bottom = std::min<LONG>(item.bottom, rc.bottom - s(2));
    const bool highlighted = focused && !dropped;
    if (highlighted) fillSolidRect(dc, item, c(p.selectionBack));
    item.left += s(3);
    drawText(dc, selectedItemText(combo), item, windowFont(combo),
             c(!enabled ? p.disabledText : highlighted ? p.selectionText : p.editText),
             DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

void paintFlatFrame(Engine& engine, HWND window) {
    const SkinPalette& p = engine.theme().palette();
    const SkinnedWindow* w = engine.find(window);
    COLORREF inner = c(p.editBack);
    if (w && w->kind == Kind::ListView) {
        inner = static_cast<COLORREF>(SendMessageW(window, LVM_GETBKCOLOR, 0, 0));
    }
    const bool focused = w && w->kind == Kind::Edit && GetFocus() == window;
    paintEdge(window, c(focused ? p.editFocusBorder : p.editBorder), inner);
}

LRESULT controlColour(Engine& engine, HWND container, UINT message, HDC dc, HWND child) {
    const SkinPalette& p = engine.theme().palette();
    const SkinnedWindow* w = engine.find(child);
    COLORREF back = engine.backgroundOf(container);
    COLORREF text = c(p.labelText);
    bool opaque = false;
    switch (message) {
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            back = c(p.editBack);
            text = c(p.editText);
            opaque = true;
            break;
        case WM_CTLCOLORSTATIC:
            // Read-only and disabled edit boxes ask as statics do.
            if (w ? w->kind == Kind::Edit : lstrcmpiW(className(child).c_str(), L"Edit") == 0) {
                back = Theme::blend(p.editBack, p.windowBack, 96);
                text = c(p.editText);
                opaque = true;
            } else if (w && w->kind == Kind::Link) {
                text = c(p.linkText);
            }
            break;
        case WM_CTLCOLORDLG:
            back = c(p.windowBack);
            break;
        default:
            break;
    }
    if (child && !IsWindowEnabled(child)) text = c(p.disabledText);
    SetTextColor(dc, text);
    SetBkColor(dc, back);
    SetBkMode(dc, opaque ? OPAQUE : TRANSPARENT);
    return reinterpret_cast<LRESULT>(engine.theme().brush(back));
}

}  // namespace velmora::skin

// The subclass procedure of every skinned window. It answers the colour and
// drawing messages and leaves everything else to the window's own procedure.
//
// Buttons, group boxes and combo boxes also draw themselves outside WM_PAINT
// (on a click, a focus change, a new selection). For those messages the
// standard procedure runs first and the skin paints over its result at once;
// combo boxes get a second, posted repaint because their list closes after
// the message that started it has returned.
#include <windowsx.h>

#include "skin/skin_draw_win.h"
#include "skin/skin_paint_win.h"
#include "util/window_subclass_win.h"

namespace velmora::skin {
namespace {

void redrawNow(HWND window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
}

bool isContainer(Kind kind) {
    return kind == Kind::TopLevel || kind == Kind::Container || kind == Kind::GroupBox;
}

// Messages after which a control's standard procedure may have drawn it.
bool changesLook(Kind kind, UINT message) {
    switch (message) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
        case WM_SETTEXT:
        case WM_UPDATEUISTATE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_LBUTTONDBLCLK:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CAPTURECHANGED:
            return kind != Kind::Header || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP ||
                   message == WM_CAPTURECHANGED;
        case BM_SETSTATE:
        case BM_SETSTYLE:
            return kind == Kind::PushButton;
        case WM_CHAR:
        case WM_MOUSEWHEEL:
        case CB_SETCURSEL:
        case CB_SELECTSTRING:
        case CB_SHOWDROPDOWN:
        case CB_RESETCONTENT:
            return kind == Kind::ComboBox;
        default:
            return false;
    }
}

bool paints(Kind kind) {
    switch (kind) {
        case Kind::GroupBox:
        case Kind::PushButton:
        case Kind::ComboBox:
        case Kind::Header:
        case Kind::StatusBar:
            return true;
        default:
            return false;
    }
}

void paint(Engine& engine, SkinnedWindow& w, HDC given) {
    switch (w.kind) {
        case Kind::GroupBox: paintGroupBox(engine, w.window, given); break;
        case Kind::PushButton: paintPushButton(engine, w, given); break;
        case Kind::ComboBox: paintComboBox(engine, w.window, given); break;
        case Kind::Header: paintHeader(engine, w, given); break;
        case Kind::StatusBar: paintStatusBar(engine, w.window, given); break;
        default: break;
    }
}

void trackHot(SkinnedWindow& w, bool hot) {
    if (w.hot == hot) return;
    w.hot = hot;
    if (hot) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, w.window, 0};
        TrackMouseEvent(&track);
    }
    InvalidateRect(w.window, nullptr, FALSE);
}

// Clickable header items look pressed while the button is held on them.
void trackPressedItem(SkinnedWindow& w, UINT message, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN && (GetWindowLongPtrW(w.window, GWL_STYLE) & HDS_BUTTONS)) {
        HDHITTESTINFO hit{};
        hit.pt = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        const auto item = SendMessageW(w.window, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
        w.pressedItem = (hit.flags & HHT_ONHEADER) ? static_cast<int>(item) : -1;
    } else if (message == WM_LBUTTONUP || message == WM_CAPTURECHANGED) {
        w.pressedItem = -1;
    }
}

bool containerMessage(Engine& engine, SkinnedWindow& w, UINT message, WPARAM wParam, LPARAM lParam,
                      LRESULT& result) {
    switch (message) {
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORDLG:
            result = controlColour(engine, w.window, message, reinterpret_cast<HDC>(wParam),
                                   reinterpret_cast<HWND>(lParam));
            return true;
        case WM_NOTIFY: {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            const SkinnedWindow* from = header ? engine.find(header->hwndFrom) : nullptr;
            if (!from || from->kind != Kind::ListView || header->code != NM_CUSTOMDRAW) return false;
            result = listCustomDraw(engine, *reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
            return true;
        }
        case WM_COMMAND: {
            const auto control = reinterpret_cast<HWND>(lParam);
            const SkinnedWindow* from = control ? engine.find(control) : nullptr;
            if (!from || from->kind != Kind::ComboBox) return false;
            result = defSubclassProc(w.window, message, wParam, lParam);
            PostMessageW(control, Engine::repaintMessage(), 0, 0);
            return true;
        }
        case WM_ERASEBKGND:
            if (w.kind == Kind::GroupBox) return false;
            fillSolidRect(reinterpret_cast<HDC>(wParam), clientRect(w.window),
                          Theme::toColorRef(engine.theme().palette().windowBack));
            result = 1;
            return true;
        default:
            if (w.kind != Kind::TopLevel) return false;
            return menuMessage(engine, w.window, message, wParam, lParam, result);
    }
}

bool controlMessage(Engine& engine, SkinnedWindow& w, UINT message, WPARAM wParam, LPARAM lParam,
                    LRESULT& result) {
    const HWND window = w.window;
    if (message == Engine::repaintMessage()) {
        redrawNow(window);
        result = 0;
        return true;
    }
    if (paints(w.kind)) {
        switch (message) {
            case WM_PAINT:
            case WM_PRINTCLIENT:
                paint(engine, w, message == WM_PRINTCLIENT ? reinterpret_cast<HDC>(wParam) : nullptr);
                result = 0;
                return true;
            case WM_ERASEBKGND:
                result = 1;
                return true;
            default:
                break;
        }
    }
    if (w.kind == Kind::PushButton) {
        if (message == WM_MOUSEMOVE) trackHot(w, true);
        if (message == WM_MOUSELEAVE) trackHot(w, false);
    }
    if (w.kind == Kind::Header) trackPressedItem(w, message, lParam);
    if (w.kind == Kind::MenuFrame) {
        if (message != WM_NCPAINT) return false;
        result = defSubclassProc(window, message, wParam, lParam);
        paintMenuFrame(engine, window);
        return true;
    }
    if (w.kind == Kind::Edit || w.kind == Kind::ListFrame || w.kind == Kind::ListView) {
        if (message == WM_NCPAINT) {
            result = defSubclassProc(window, message, wParam, lParam);
            paintFlatFrame(engine, window);
            return true;
        }
        if (message == WM_SETFOCUS || message == WM_KILLFOCUS) {
            result = defSubclassProc(window, message, wParam, lParam);
            RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
            return true;
        }
        return false;
    }
    if (paints(w.kind) && changesLook(w.kind, message)) {
        result = defSubclassProc(window, message, wParam, lParam);
        redrawNow(window);
        if (w.kind == Kind::ComboBox) PostMessageW(window, Engine::repaintMessage(), 0, 0);
        return true;
    }
    return false;
}

bool fontMessage(Engine& engine, SkinnedWindow& w, UINT message, WPARAM wParam, LPARAM lParam,
                 LRESULT& result) {
    const Theme& theme = engine.theme();
    if (!w.ownFont || !theme.hasFonts()) return false;
    // The skin's font at the window's DPI stands in for the program's: a
    // program that gives its controls a new font when the window moves to
    // another scale gets the skin's at the new DPI in it.
    if (message == WM_SETFONT) {
        const auto font = reinterpret_cast<HFONT>(wParam);
        if (!theme.isThemeFont(font)) w.programFont = font;
        result = defSubclassProc(w.window, message, reinterpret_cast<WPARAM>(engine.fontFor(w)), lParam);
        return true;
    }
    if (message == WM_CREATE) {
        result = defSubclassProc(w.window, message, wParam, lParam);
        if (result != -1) SendMessageW(w.window, WM_SETFONT, reinterpret_cast<WPARAM>(engine.fontFor(w)), FALSE);
        return true;
    }
    return false;
}

bool handle(Engine& engine, SkinnedWindow& w, UINT message, WPARAM wParam, LPARAM lParam,
            LRESULT& result) {
    if (fontMessage(engine, w, message, wParam, lParam, result)) return true;
    if (isContainer(w.kind) && containerMessage(engine, w, message, wParam, lParam, result)) return true;
    return controlMessage(engine, w, message, wParam, lParam, result);
}

}  // namespace

LRESULT CALLBACK skinWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR, DWORD_PTR ref) {
    Engine* engine = currentEngine();
    auto* w = reinterpret_cast<SkinnedWindow*>(ref);
    if (!engine || !w) return defSubclassProc(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        engine->forget(window);  // `w` is gone from here on
        return defSubclassProc(window, message, wParam, lParam);
    }
    try {
        LRESULT result = 0;
        if (handle(*engine, *w, message, wParam, lParam, result)) return result;
    } catch (...) {
        // Out of memory while drawing: the standard procedure takes over.
    }
    return defSubclassProc(window, message, wParam, lParam);
}

}  // namespace velmora::skin

#include "skin/skin_engine_win.h"

#include <commctrl.h>

#include <vector>

#include "skin/skin_draw_win.h"
#include "skin/skin_paint_win.h"
#include "util/dpi_win.h"
#include "util/window_subclass_win.h"

namespace velmora::skin {
namespace {

std::unique_ptr<Engine> g_engine;

LRESULT CALLBACK cbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && g_engine) {
        const auto* create = reinterpret_cast<const CBT_CREATEWNDW*>(lParam);
        if (create && create->lpcs) {
            try {
                g_engine->adopt(reinterpret_cast<HWND>(wParam), *create->lpcs);
            } catch (...) {
                // Out of memory: the window keeps its standard look.
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool sameName(const std::wstring& a, const wchar_t* b) { return lstrcmpiW(a.c_str(), b) == 0; }

bool classifyButton(DWORD style, Kind& kind) {
    switch (style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON: kind = Kind::PushButton; return true;
        case BS_GROUPBOX: kind = Kind::GroupBox; return true;
        default: return false;  // check boxes and radios only take colours
    }
}

bool classifyStatic(DWORD style, Kind& kind) {
    switch (style & SS_TYPEMASK) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT:
        case SS_LEFTNOWORDWRAP:
        case SS_SIMPLE: kind = (style & SS_NOTIFY) ? Kind::Link : Kind::Static; return true;
        default: return false;  // icons, bitmaps, frames, owner-drawn
    }
}

bool classifyCombo(DWORD style, Kind& kind) {
    if (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) return false;
    const DWORD type = style & 3;
    if (type != CBS_DROPDOWN && type != CBS_DROPDOWNLIST) return false;
    kind = Kind::ComboBox;
    return true;
}

BOOL CALLBACK collectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

bool classify(HWND window, DWORD style, HWND parent, Kind& kind) {
    const std::wstring name = className(window);
    const bool child = (style & WS_CHILD) != 0 && parent != nullptr;
    // A combo box's drop-down list is a pop-up window of its own.
    if (sameName(name, L"ComboLBox")) {
        kind = Kind::ListFrame;
        return true;
    }
    if (sameName(name, L"#32768")) {
        kind = Kind::MenuFrame;
        return true;
    }
    if (!child) {
        if ((style & WS_CAPTION) != WS_CAPTION) return false;
        kind = Kind::TopLevel;
        return true;
    }
    if (sameName(name, L"Button")) return classifyButton(style, kind);
    if (sameName(name, L"Static")) return classifyStatic(style, kind);
    if (sameName(name, L"ComboBox")) return classifyCombo(style, kind);
    if (sameName(name, L"Edit")) kind = Kind::Edit;
    else if (sameName(name, L"ListBox")) kind = Kind::ListFrame;
    else if (sameName(name, WC_LISTVIEWW)) kind = Kind::ListView;
    else if (sameName(name, WC_HEADERW)) kind = Kind::Header;
    else if (sameName(name, STATUSCLASSNAMEW)) kind = Kind::StatusBar;
    else if (sameName(name, L"#32770")) kind = Kind::Container;
    else return false;
    return true;
}

Engine::Engine(const SkinDescription& description, DWORD thread)
    : theme_(description), thread_(thread) {}

Engine::~Engine() {
    if (hook_) UnhookWindowsHookEx(hook_);
    restoreMenus();
    for (auto& [window, w] : windows_) release(w, IsWindow(window) != FALSE);
}

bool Engine::start() {
    hook_ = SetWindowsHookExW(WH_CBT, cbtHook, nullptr, thread_);
    if (!hook_) return false;
    std::vector<HWND> tops;
    EnumThreadWindows(thread_, collectWindow, reinterpret_cast<LPARAM>(&tops));
    for (HWND top : tops) adoptTree(top);
    return true;
}

void Engine::adoptTree(HWND top) {
    Kind kind;
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(top, GWL_STYLE));
    if (!classify(top, style, nullptr, kind) || kind != Kind::TopLevel) return;
    std::vector<HWND> tree{top};
    EnumChildWindows(top, collectWindow, reinterpret_cast<LPARAM>(&tree));
    for (HWND window : tree) {
        const auto s = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
        if (!classify(window, s, window == top ? nullptr : GetParent(window), kind)) continue;
        SkinnedWindow* w = add(window, kind, true);
        if (!w || !w->ownFont || !theme_.hasFonts()) continue;
        w->programFont = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
        SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(*w)), FALSE);
    }
    RedrawWindow(top, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void Engine::adopt(HWND window, const CREATESTRUCTW& create) {
    Kind kind;
    const HWND parent = (create.style & WS_CHILD) ? create.hwndParent : nullptr;
    if (!classify(window, create.style, parent, kind)) return;
    const SkinnedWindow* p = parent ? find(parent) : nullptr;
    add(window, kind, p && p->fontForChildren);
}

SkinnedWindow* Engine::add(HWND window, Kind kind, bool skinFonts) {
    if (windows_.count(window)) return nullptr;
    // Links are the program's own clickable labels; a system dialog's
    // SS_NOTIFY statics are plain text.
    if (kind == Kind::Link && !skinFonts) kind = Kind::Static;
    SkinnedWindow w;
    w.window = window;
    w.kind = kind;
    // Frames and dialogs keep their own font and pass the skin's on.
    w.ownFont = skinFonts && kind != Kind::TopLevel && kind != Kind::Container;
    w.fontForChildren = skinFonts;
    auto [it, inserted] = windows_.emplace(window, w);
    if (!subclassWindow(window, skinWindowProc, kSubclassId, reinterpret_cast<DWORD_PTR>(&it->second))) {
        windows_.erase(it);
        return nullptr;
    }
    return &it->second;
}

void Engine::release(SkinnedWindow& w, bool windowLives) {
    unsubclassWindow(w.window, skinWindowProc, kSubclassId);
    if (windowLives && w.ownFont && theme_.hasFonts()) {
        SendMessageW(w.window, WM_SETFONT, reinterpret_cast<WPARAM>(w.programFont), FALSE);
    }
}

void Engine::forget(HWND window) {
    const auto found = windows_.find(window);
    if (found == windows_.end()) return;
    unsubclassWindow(window, skinWindowProc, kSubclassId);
    windows_.erase(found);
}

SkinnedWindow* Engine::find(HWND window) {
    const auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : &found->second;
}

COLORREF Engine::backgroundOf(HWND container) {
    const SkinnedWindow* w = find(container);
    const SkinPalette& p = theme_.palette();
    return Theme::toColorRef(w && w->kind == Kind::GroupBox ? p.groupBack : p.windowBack);
}

const ThemeFonts& Engine::fontsOf(HWND window) { return theme_.fonts(windowDpi(window)); }

HFONT Engine::fontFor(const SkinnedWindow& w) {
    const ThemeFonts& fonts = fontsOf(w.window);
    return w.kind == Kind::Link ? fonts.link : fonts.normal;
}

DpiScale Engine::scaleOf(HWND window) { return DpiScale(windowDpi(window)); }

UINT Engine::repaintMessage() {
    static const UINT message = RegisterWindowMessageW(L"VelmoraSkinRepaint");
    return message;
}

Engine* currentEngine() { return g_engine.get(); }

bool attachEngine(const SkinDescription& description) {
    const DWORD thread = GetCurrentThreadId();
    if (g_engine && g_engine->thread() != thread) return false;
    auto engine = std::make_unique<Engine>(description, thread);
    // The old skin goes first, so that the new one finds the program's own
    // fonts in the windows.
    g_engine.reset();
    g_engine = std::move(engine);
    if (!g_engine->start()) {
        g_engine.reset();
        return false;
    }
    return true;
}

bool detachEngine() {
    if (!g_engine || g_engine->thread() != GetCurrentThreadId()) return false;
    std::vector<HWND> tops;
    EnumThreadWindows(g_engine->thread(), collectWindow, reinterpret_cast<LPARAM>(&tops));
    g_engine.reset();
    for (HWND top : tops) {
        RedrawWindow(top, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
    return true;
}

}  // namespace velmora::skin

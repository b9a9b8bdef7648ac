// The attached skin: which windows it draws and how it follows new ones.
//
// Everything here runs on the thread that attached the skin (the windows'
// thread); the CBT hook is installed for that thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <unordered_map>

#include "skin/skin_format.h"
#include "skin/skin_theme_win.h"
#include "util/dpi_scale.h"

namespace velmora::skin {

enum class Kind {
    TopLevel,    // the program's frame windows and its dialogs
    Container,   // a child dialog: only colours its controls
    GroupBox,
    PushButton,
    Static,
    Link,        // a static with SS_NOTIFY
    Edit,
    ComboBox,
    ListFrame,   // a list box (also a combo box's drop-down list): frame only
    MenuFrame,   // the window of an open pop-up menu: frame only
    ListView,
    Header,
    StatusBar,
};

struct SkinnedWindow {
    HWND window = nullptr;
    Kind kind = Kind::Static;
    // The skin's font replaces the program's in the windows that were there
    // at attach time and their later children; dialogs of the system keep
    // theirs, since their layout was measured with it.
    bool ownFont = false;
    bool fontForChildren = false;  // controls created later in it get ownFont
    HFONT programFont = nullptr;   // the font the program last set
    bool hot = false;             // the mouse is over it (buttons)
    int pressedItem = -1;         // the header item held down, if any
};

class Engine {
public:
    Engine(const SkinDescription& description, DWORD thread);
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Skins the thread's top-level windows and their children, and installs
    // the hook for windows created later. False when the hook cannot be set.
    bool start();

    Theme& theme() { return theme_; }
    DWORD thread() const { return thread_; }
    SkinnedWindow* find(HWND window);
    bool isSkinned(HWND window) const { return windows_.count(window) != 0; }

    // A window is forgotten when it is destroyed.
    void forget(HWND window);
    // Called by the CBT hook for a window being created on the thread.
    void adopt(HWND window, const CREATESTRUCTW& create);

    // Background that a control sitting in `container` must paint.
    COLORREF backgroundOf(HWND container);
    // The skin's font for the window at its DPI (null when the skin has
    // none of its faces).
    HFONT fontFor(const SkinnedWindow& w);
    // The skin's fonts at the window's DPI.
    const ThemeFonts& fontsOf(HWND window);
    // Pixel counts of the skin's 96-DPI metrics at the window's DPI.
    static DpiScale scaleOf(HWND window);
    // A private message that makes a control repaint itself once the
    // message that triggered the default drawing has been fully handled.
    static UINT repaintMessage();

private:
    void adoptTree(HWND top);
    SkinnedWindow* add(HWND window, Kind kind, bool skinFonts);
    void release(SkinnedWindow& w, bool windowLives);

    Theme theme_;
    DWORD thread_;
    HHOOK hook_ = nullptr;
    std::unordered_map<HWND, SkinnedWindow> windows_;
};

// The engine of the attached skin, or null.
Engine* currentEngine();
// Attaches a skin on the calling thread, replacing one attached before.
bool attachEngine(const SkinDescription& description);
// Detaches the skin; false when none was attached. Only the attaching
// thread can detach (subclasses belong to their thread).
bool detachEngine();

// Kind of a window from its class and style; false for a window the skin
// leaves alone. `parent` is its parent (null for a top-level window).
bool classify(HWND window, DWORD style, HWND parent, Kind& kind);

// The subclass procedure for every skinned window (skin_window_proc_win.cpp).
LRESULT CALLBACK skinWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                UINT_PTR id, DWORD_PTR ref);
inline constexpr UINT_PTR kSubclassId = 0x56534B4E;

}  // namespace velmora::skin

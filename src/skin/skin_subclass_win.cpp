#include "skin/skin_subclass_win.h"

#include "util/system_library_win.h"

namespace velmora::skin {

namespace {

struct Subclassing {
    decltype(&::SetWindowSubclass) set = nullptr;
    decltype(&::RemoveWindowSubclass) remove = nullptr;
    decltype(&::DefSubclassProc) next = nullptr;
};

template <typename Fn>
Fn exported(HMODULE library, const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

// All three or none. The library stays loaded while this one is.
Subclassing bindSubclassing() {
    HMODULE library = loadSystemLibrary(L"comctl32.dll");
    if (library == nullptr) return {};
    Subclassing s;
    s.set = exported<decltype(s.set)>(library, "SetWindowSubclass");
    s.remove = exported<decltype(s.remove)>(library, "RemoveWindowSubclass");
    s.next = exported<decltype(s.next)>(library, "DefSubclassProc");
    if (s.set == nullptr || s.remove == nullptr || s.next == nullptr) return {};
    return s;
}

const Subclassing& subclassing() {
    static const Subclassing bound = bindSubclassing();
    return bound;
}

}  // namespace

bool subclassWindow(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
    const Subclassing& s = subclassing();
    return s.set != nullptr && s.set(window, procedure, id, data) != FALSE;
}

void unsubclassWindow(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
    const Subclassing& s = subclassing();
    if (s.remove != nullptr) s.remove(window, procedure, id);
}

LRESULT defSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Only subclassed windows get here, so the functions are bound.
    return subclassing().next(window, message, wParam, lParam);
}

}  // namespace velmora::skin

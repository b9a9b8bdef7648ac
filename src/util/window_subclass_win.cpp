#include "util/window_subclass_win.h"

#include <unordered_map>

namespace velmora {

namespace {

// One subclassed window: the procedure it had before, and ours while it is
// subclassed. `procedure` is null once we let go of a window whose procedure
// could not be given back (another subclass sits on top): its messages then
// pass straight through.
struct Chained {
    WNDPROC original = nullptr;
    SUBCLASSPROC procedure = nullptr;
    UINT_PTR id = 0;
    DWORD_PTR data = 0;
    int depth = 0;          // messages of this window being handled now
    bool gone = false;      // forget once the last of them has returned
};

// Windows belong to the thread that created them, and only the calling
// thread's windows are subclassed.
thread_local std::unordered_map<HWND, Chained> tChained;

LRESULT CALLBACK chainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void forgetWhenIdle(HWND window, Chained& entry) {
    if (entry.depth == 0) {
        tChained.erase(window);
    } else {
        entry.gone = true;
    }
}

// Gives the window its own procedure back where ours is still the one it
// calls; otherwise ours stays in its chain and passes messages on.
void letGo(HWND window, Chained& entry) {
    entry.procedure = nullptr;
    const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    if (current == chainProcedure) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(entry.original));
        forgetWhenIdle(window, entry);
    }
}

LRESULT CALLBACK chainProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto found = tChained.find(window);
    if (found == tChained.end()) return DefWindowProcW(window, message, wParam, lParam);
    // A reference into the map stays valid while other windows come and go;
    // iterators do not.
    Chained& entry = found->second;
    ++entry.depth;
    const LRESULT result =
        entry.procedure != nullptr
            ? entry.procedure(window, message, wParam, lParam, entry.id, entry.data)
            : CallWindowProcW(entry.original, window, message, wParam, lParam);
    --entry.depth;
    if (message == WM_NCDESTROY) entry.gone = true;
    if (entry.gone && entry.depth == 0) tChained.erase(window);
    return result;
}

}  // namespace

// The subclass is a window procedure of our own in front of the window's,
// not the common controls' subclass list: under Wine, that list costs a few
// server calls on every message (it lives in a window property), and a list
// view paints with dozens of messages a row.
bool subclassWindow(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
    if (procedure == nullptr || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId()) {
        return false;
    }
    // An entry still there is either in the chain, passing messages through,
    // or was given back while one of the window's messages is being handled.
    auto [it, fresh] = tChained.try_emplace(window);
    Chained& entry = it->second;
    if (fresh || entry.gone) {
        SetLastError(0);
        const LONG_PTR before =
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(chainProcedure));
        if (before == 0 && GetLastError() != 0) {
            if (fresh) tChained.erase(it);
            return false;
        }
        entry.original = reinterpret_cast<WNDPROC>(before);
        entry.gone = false;
    }
    entry.procedure = procedure;
    entry.id = id;
    entry.data = data;
    return true;
}

void unsubclassWindow(HWND window, SUBCLASSPROC procedure, UINT_PTR id) {
    const auto found = tChained.find(window);
    if (found == tChained.end() || found->second.procedure != procedure || found->second.id != id) return;
    letGo(window, found->second);
}

LRESULT defSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto found = tChained.find(window);
    if (found == tChained.end()) return DefWindowProcW(window, message, wParam, lParam);
    return CallWindowProcW(found->second.original, window, message, wParam, lParam);
}

}  // namespace velmora

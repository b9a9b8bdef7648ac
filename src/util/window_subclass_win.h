// Subclassing: a window procedure of ours in front of a window's own, for
// the windows of the calling thread. The program (its group boxes) and the
// skin library (every skinned window) both subclass this way, each module
// with its own table; subclasses of both stack on one window.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace velmora {

// False, with the window left as it is, for a window of another thread or
// one whose procedure cannot be replaced.
bool subclassWindow(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
// The window gets its own procedure back, or, where another subclass was put
// on top meanwhile, its messages pass through ours unchanged.
void unsubclassWindow(HWND window, SUBCLASSPROC procedure, UINT_PTR id);
// The procedure the window had before subclassWindow.
LRESULT defSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace velmora

// Subclassing of the skinned windows: a window procedure of the skin's in
// front of each window's own. Windows of the calling thread only.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace velmora::skin {

// False, with the window left as it is, for a window of another thread or
// one whose procedure cannot be replaced.
bool subclassWindow(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
// The window gets its own procedure back, or, where another subclass was put
// on top meanwhile, its messages pass through ours unchanged.
void unsubclassWindow(HWND window, SUBCLASSPROC procedure, UINT_PTR id);
// The procedure the window had before subclassWindow.
LRESULT defSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace velmora::skin

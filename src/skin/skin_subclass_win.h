// Window subclassing from the common controls, bound on first use from the
// system folder. Imported, the common controls would be looked for next to
// this library first, which is the program's folder.
#pragma once

#include <windows.h>

#include <commctrl.h>

namespace velmora::skin {

// False, with the window left as it is, when the common controls cannot be
// had.
bool subclassWindow(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
void unsubclassWindow(HWND window, SUBCLASSPROC procedure, UINT_PTR id);
// The next procedure of a window that subclassWindow subclassed.
LRESULT defSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace velmora::skin

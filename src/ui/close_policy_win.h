// How the window ends: a close request is always granted, and neither a
// close nor the end of the Windows session leaves the program's proxy in
// place; the user's own settings come back.
#pragma once

#include <windows.h>

namespace velmora::ui {

// WM_CLOSE (close box, system menu, Alt+F4).
void closeRequested(HWND window);
// WM_QUERYENDSESSION: the session's end sends no close request. Returns the
// answer (the program never holds the session up).
LRESULT sessionEnding();
// WM_ENDSESSION.
void sessionEnded(bool ending);

}  // namespace velmora::ui

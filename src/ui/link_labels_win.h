// The three link labels' look: link-coloured text on whatever lies behind,
// and the hand cursor. (What a click on one opens is in the bindings.)
#pragma once

#include <windows.h>

namespace velmora::ui {

bool isLinkLabel(int controlId);

// WM_CTLCOLORSTATIC for `label`: the brush to paint it with, or null when it
// is not a link label and gets the default colours.
HBRUSH colourLinkLabel(HWND label, HDC dc);

// WM_SETCURSOR over `window`: true when it is a link label and the hand
// cursor was set.
bool setLinkCursor(HWND window);

}  // namespace velmora::ui

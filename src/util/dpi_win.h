// The DPI a window is drawn at, and the system's measures at a DPI. The
// per-window calls exist from Windows 10 on and are bound at run time; on
// older systems the program is system-DPI aware and every window has the
// system's DPI.
#pragma once

#include <windows.h>

namespace velmora {

// The DPI of the window's monitor as the window sees it; the system DPI
// where the system has no per-window DPI, or for a null window.
int windowDpi(HWND window);

// The DPI of the primary monitor at sign-in, which the stock objects and
// the system's measures are made for.
int systemDpi();

// GetSystemMetrics(index) for a window at `dpi`.
int systemMetricForDpi(int index, int dpi);

// The system's default GUI font (DEFAULT_GUI_FONT), described for `dpi`: its
// height scaled from the system DPI, rounded towards zero.
LOGFONTW defaultGuiFontAt(int dpi);

}  // namespace velmora

// The main window: created from the layout tables, one window procedure that
// routes each message to a named handler, and the message loop.
#pragma once

#include <windows.h>

#include "ui/proxy_list_view_win.h"
#include "ui/raw_result_feeder_win.h"

namespace velmora::ui {

// Window message that runs a std::function<void()>* (lParam) on the window
// thread; the sender waits in SendMessage until it has run.
inline constexpr UINT kRunOnWindowThread = WM_APP + 1;
// Posted when the list view is due to learn of changed rows.
inline constexpr UINT kSyncProxyList = WM_APP + 2;

// Creates the window and its controls, starts the timers, runs
// InitMainWindow and shows the window. False when it cannot be created.
bool createMainWindow(HINSTANCE instance);

// Runs until the window is gone; returns the code of WM_QUIT.
int runMessageLoop();

// The main window, or null before it exists and after it is destroyed.
HWND mainWindow();
DWORD windowThreadId();

// A control by id, or null.
HWND controlWindow(int id);
HMENU listMenu();

// ProxyList's rows and the list view that shows them; RawResultEdit's feed.
ProxyListView& proxyListView();
RawResultFeeder& rawResultFeeder();

}  // namespace velmora::ui

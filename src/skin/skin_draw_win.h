// How each kind of skinned window is drawn. A `given` DC comes with
// WM_PRINTCLIENT; without one the functions paint through BeginPaint.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include "skin/skin_engine_win.h"

namespace velmora::skin {

void paintGroupBox(Engine& engine, HWND box, HDC given);
void paintPushButton(Engine& engine, const SkinnedWindow& button, HDC given);
void paintComboBox(Engine& engine, HWND combo, HDC given);
void paintHeader(Engine& engine, const SkinnedWindow& header, HDC given);
void paintStatusBar(Engine& engine, HWND bar, HDC given);
// The one-pixel frame that replaces the sunken edge of edits and lists;
// drawn over the standard non-client area.
void paintFlatFrame(Engine& engine, HWND window);

// The border of an open pop-up menu, flat in the menu's colours.
void paintMenuFrame(Engine& engine, HWND menuWindow);

// WM_CTLCOLOR* arriving at `container` for its control `child`.
LRESULT controlColour(Engine& engine, HWND container, UINT message, HDC dc, HWND child);
// NM_CUSTOMDRAW of a skinned list view, arriving at the list's parent.
LRESULT listCustomDraw(Engine& engine, NMLVCUSTOMDRAW& draw);

// Pop-up menus of a skinned top-level window (skin_menu_win.cpp): true when
// the message was handled, with its result.
bool menuMessage(Engine& engine, HWND owner, UINT message, WPARAM wParam, LPARAM lParam,
                 LRESULT& result);
// Gives menu items that are still drawn by the skin their own form back.
void restoreMenus();

}  // namespace velmora::skin

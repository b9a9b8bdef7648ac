// The window's controls made from the layout tables: how each kind is
// created and first filled, the group boxes that pass their children's
// notifications on, and the list menu built from its table.
#pragma once

#include <windows.h>

#include <map>

#include "ui/layout.h"

namespace velmora::ui {

struct ControlClass {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

// The window class and styles the control is created with.
ControlClass controlClassFor(const ControlEntry& c);

// Its columns, items, panels or text limit, once it exists.
void fillControl(HWND control, const ControlEntry& c);

// Creates every control of the table in `main`, each parent before the
// controls inside it, with the default GUI font; `created` maps ids to the
// controls. False when one cannot be created.
bool createControls(HWND main, HINSTANCE instance, std::map<int, HWND>& created);

// ListMenu, from its table; null when it cannot be created.
HMENU buildListMenu();

}  // namespace velmora::ui

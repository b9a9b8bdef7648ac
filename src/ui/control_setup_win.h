// How each kind of control in the layout tables is created and first
// filled, and the list menu built from its table.
#pragma once

#include <windows.h>

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

// ListMenu, from its table; null when it cannot be created.
HMENU buildListMenu();

}  // namespace velmora::ui

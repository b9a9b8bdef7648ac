// The window's controls made from the layout tables: how each kind is
// created and first filled, the group boxes that pass their children's
// notifications on, how the controls are laid out again at another DPI, and
// the list menu built from its table.
#pragma once

#include <windows.h>

#include <map>

#include "ui/layout.h"
#include "util/dpi_scale.h"

namespace velmora::ui {

struct ControlClass {
    const wchar_t* className;
    DWORD style;
    DWORD exStyle;
};

// The window class and styles the control is created with.
ControlClass controlClassFor(const ControlEntry& c);

// Its columns, items, panels or text limit, once it exists, at `scale`.
void fillControl(HWND control, const ControlEntry& c, DpiScale scale);

// Creates every control of the table in `main` at `scale`, each parent
// before the controls inside it, with `font`; `created` maps ids to the
// controls. False when one cannot be created.
bool createControls(HWND main, HINSTANCE instance, DpiScale scale, HFONT font,
                    std::map<int, HWND>& created);

// Lays the controls of a window made at `from` out again at `to`: `font` in
// every control, the table's places, the status bar's panels and height,
// and what the user changed kept where it was: the widths the columns were
// dragged to and the notice's scroll position, both scaled.
void layOutControlsAgain(const std::map<int, HWND>& controls, DpiScale from, DpiScale to, HFONT font);

// The heights that follow the controls' fonts, made at least the table's
// at `scale` (more where a font needs more): the closed fields of the combo
// boxes, and the status bar, docked at the bottom of its parent. For after
// every change of fonts.
void settleHeights(const std::map<int, HWND>& controls, DpiScale scale);

// ListMenu, from its table; null when it cannot be created.
HMENU buildListMenu();

}  // namespace velmora::ui

// The list's pop-up menu and its two clean-up commands.
#pragma once

#include "ui/control_ops.h"

namespace velmora::actions {

// Pops the menu up just below and right of the cursor (screen coordinates),
// whether or not a row is selected.
void showListMenuNear(ui::ControlOperations& controls, int cursorX, int cursorY);

// Deletes every row; the verification counters keep their values.
void removeAllRows(ui::ControlOperations& controls);

// Deletes the rows whose column 3 is exactly "失败", then numbers every row
// 1, 2, 3 ... in column 0.
void removeFailedRows(ui::ControlOperations& controls);

}  // namespace velmora::actions

#include "actions/list_actions.h"

#include "util/text.h"

namespace velmora::actions {

void showListMenuNear(ui::ControlOperations& controls, int cursorX, int cursorY) {
    controls.popupListMenu(cursorX + 3, cursorY + 3);
}

void clearAll(ui::ControlOperations& controls) { controls.deleteAllRows(); }

void clearInvalid(ui::ControlOperations& controls) {
    // From the last row up, so the rows still to be visited keep their index.
    for (int row = controls.rowCount() - 1; row >= 0; --row) {
        if (controls.cellText(row, 3) == "失败") controls.deleteRow(row);
    }
    const int rows = controls.rowCount();
    for (int row = 0; row < rows; ++row) {
        controls.setCellText(row, 0, velmora::text::fromInt(row + 1LL));
    }
}

}  // namespace velmora::actions

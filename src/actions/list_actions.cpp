#include "actions/list_actions.h"

#include "util/text.h"

namespace velmora::actions {

void showListMenuNear(ui::ControlOperations& controls, int cursorX, int cursorY) {
    controls.popupListMenu(cursorX + 3, cursorY + 3);
}

void removeAllRows(ui::ControlOperations& controls) { controls.deleteAllRows(); }

void removeFailedRows(ui::ControlOperations& controls) {
    controls.withRows([](ui::ProxyRows& rows) {
        rows.eraseIf([](const ui::Row& row) { return row[3] == "失败"; });
        // A fill still running would go on numbering from where it was.
        rows.startGeneration();
        for (int row = 0; row < rows.size(); ++row) {
            rows.setCell(row, 0, velmora::text::fromInt(row + 1LL));
        }
    });
}

}  // namespace velmora::actions

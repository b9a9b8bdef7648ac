#include "verify/verify_all.h"

namespace velmora::verify {

void runVerifyAll(ui::ControlOperations& controls, bool& running, const PassHooks& hooks) {
    running = true;
    const int count = controls.rowCount();
    if (count == 0) {
        running = false;
        return;
    }
    int row = 0;
    while (running) {
        controls.focusList();
        controls.setCurrentRow(row);
        controls.ensureVisible(row);
        // The selection read back, not `row`: rows deleted meanwhile leave
        // the selection elsewhere, and that row is what the user sees.
        hooks.startWorker(controls.currentRow());
        hooks.processPending();
        if (!hooks.windowOpen()) {
            running = false;
            return;
        }
        hooks.sleep(kVerifyAllSpacingMs);
        if (++row >= count) {
            row = 0;
            running = false;
        }
    }
}

}  // namespace velmora::verify

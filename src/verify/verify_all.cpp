#include "verify/verify_all.h"

namespace velmora::verify {

void runVerifyAll(model::ProxyList& list, bool& running, const PassHooks& hooks) {
    running = true;
    const int count = list.rowCount();
    if (count == 0) {
        running = false;
        return;
    }
    int row = 0;
    while (running) {
        list.takeFocus();
        list.setCurrentRow(row);
        list.ensureVisible(row);
        // The selection read back, not `row`: rows deleted meanwhile leave
        // the selection elsewhere, and that row is what the user sees.
        hooks.startWorker(list.currentRow());
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

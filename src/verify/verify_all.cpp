#include "verify/verify_all.h"

namespace velmora::verify {

namespace {

// Where the first row after `previous` stands, as long as it is one of the
// rows up to `last`; -1 when no such row is left. Identities ascend with the
// list's order, so this is the next row of the pass wherever rows went.
int nextRow(model::ProxyList& list, model::RowId& previous, model::RowId last) {
    int row = -1;
    list.withRows([&](model::ProxyRows& rows) {
        const int at = rows.indexAfter(previous);
        if (at < 0 || rows.idAt(at) > last) return;
        row = at;
        previous = rows.idAt(at);
    });
    return row;
}

}  // namespace

void runVerifyAll(model::ProxyList& list, bool& running, const PassHooks& hooks) {
    running = true;
    model::RowId last = model::kNoRow;
    list.withRows([&](model::ProxyRows& rows) { last = rows.idAt(rows.size() - 1); });
    model::RowId previous = model::kNoRow;
    while (running) {
        const int row = nextRow(list, previous, last);
        if (row < 0) break;
        list.takeFocus();
        list.setCurrentRow(row);
        list.ensureVisible(row);
        hooks.startWorker(row);
        if (!hooks.wait(kVerifyAllSpacingMs)) break;
    }
    running = false;
}

}  // namespace velmora::verify

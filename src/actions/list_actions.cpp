#include "actions/list_actions.h"

#include "util/text.h"

namespace velmora::actions {

void removeAllRows(model::ProxyList& list) {
    list.withRows([](model::ProxyRows& rows) { rows.clear(); });
}

void removeFailedRows(model::ProxyList& list) {
    list.withRows([](model::ProxyRows& rows) {
        rows.eraseIf([](const model::Row& row) { return row[model::kResultColumn] == "失败"; });
        // A fill still running would go on numbering from where it was.
        rows.startGeneration();
        for (int row = 0; row < rows.size(); ++row) {
            rows.setCell(row, model::kNumberColumn, velmora::text::fromInt(row + 1LL));
        }
    });
}

}  // namespace velmora::actions

// The list's selection, kept as the selected row's identity: it moves with
// its row when rows before it go, and goes with it. The list view and the
// in-memory list of the tests both keep theirs this way.
#pragma once

#include "model/proxy_rows.h"

namespace velmora::model {

class RowSelection {
public:
    // The selected row's index in `rows`; -1 when none is selected or the
    // selected row is gone.
    int index(const ProxyRows& rows) const { return rows.indexOf(id_); }
    // Selects `row`; a negative row selects none. A row past the end of the
    // table changes nothing. Returns whether the selection now is `row`.
    bool select(const ProxyRows& rows, int row);
    void clear() { id_ = kNoRow; }

private:
    RowId id_ = kNoRow;
};

}  // namespace velmora::model

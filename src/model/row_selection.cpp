#include "model/row_selection.h"

namespace velmora::model {

bool RowSelection::select(const ProxyRows& rows, int row) {
    if (row >= rows.size()) return false;
    id_ = row < 0 ? kNoRow : rows.idAt(row);
    return true;
}

}  // namespace velmora::model

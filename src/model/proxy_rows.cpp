#include "model/proxy_rows.h"

#include <algorithm>
#include <utility>

namespace velmora::model {

namespace {

const std::string kEmpty;

}  // namespace

std::string listedOnlyMessage() {
    return "找到的代理太多，只列出了前" + std::to_string(kMaxListedRows) + "个。";
}

int ProxyRows::append(Row cells) {
    if (full()) return -1;
    rows_.push_back(std::move(cells));
    ids_.push_back(next_++);
    return size() - 1;
}

void ProxyRows::erase(int row) {
    if (!contains(row)) return;
    rows_.erase(rows_.begin() + row);
    ids_.erase(ids_.begin() + row);
    changes_.moved = true;
}

void ProxyRows::clear() {
    startGeneration();
    if (!rows_.empty()) changes_.moved = true;
    rows_.clear();
    ids_.clear();
}

const std::string& ProxyRows::cell(int row, int column) const {
    if (!contains(row) || column < 0 || column >= kColumnCount) return kEmpty;
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void ProxyRows::setCell(int row, int column, std::string_view text) {
    if (!contains(row) || column < 0 || column >= kColumnCount) return;
    rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = std::string(text);
    changes_.firstWritten = std::min(changes_.firstWritten, row);
    changes_.lastWritten = std::max(changes_.lastWritten, row);
}

RowId ProxyRows::idAt(int row) const {
    return contains(row) ? ids_[static_cast<std::size_t>(row)] : kNoRow;
}

int ProxyRows::indexOf(RowId id) const {
    if (id == kNoRow) return -1;
    const auto it = std::lower_bound(ids_.begin(), ids_.end(), id);
    return it != ids_.end() && *it == id ? static_cast<int>(it - ids_.begin()) : -1;
}

int ProxyRows::indexAfter(RowId id) const {
    const auto it = std::upper_bound(ids_.begin(), ids_.end(), id);
    return it == ids_.end() ? -1 : static_cast<int>(it - ids_.begin());
}

ProxyRows::Changes ProxyRows::takeChanges() { return std::exchange(changes_, {}); }

}  // namespace velmora::model

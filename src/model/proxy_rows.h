// The rows of ProxyList: the table the window owns and the list view shows.
//
// Only the window thread touches the window's table; the layers below reach
// it through ProxyList (model/proxy_list.h), which carries their calls over.
// Every row gets an identity when it is made, so that work started for a row
// can find that row again after others were deleted or the list was
// refilled. The identity is never shown, copied or exported.
#pragma once

#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::model {

// The list's columns, by index.
enum Column : int {
    kNumberColumn,   // "序号"
    kAddressColumn,  // "代理IP"
    kPortColumn,     // "端口"
    kResultColumn,   // "验证"
    kSpeedColumn,    // "网速"
    kRegionColumn,   // "地区"
    kColumnCount,
};

using Row = std::array<std::string, kColumnCount>;

// The table never holds more rows than this, whatever adds them: an
// extraction or an import lists the first ones in answer or file order, and
// a paste on a full list adds nothing. A service or file of any size then
// costs the 32-bit process about 15 MB of rows and a fill of a few seconds.
inline constexpr int kMaxListedRows = 100'000;

// Rows that a fill hands to the window in one round trip: enough that the
// trip's cost vanishes, few enough that the window thread is back within a
// millisecond or two.
inline constexpr std::size_t kRowsPerTrip = 2000;

// What the user is told, once, after a fill that stopped at the limit.
std::string listedOnlyMessage();

using RowId = std::uint64_t;
inline constexpr RowId kNoRow = 0;

// Every clearing of the list starts a new generation. A fill knows the
// generation it was started for and stops once the list has moved on, so
// batches of an older fill never land in a newer list.
using Generation = std::uint64_t;

class ProxyRows {
public:
    int size() const { return static_cast<int>(rows_.size()); }
    bool full() const { return size() >= kMaxListedRows; }

    // Appends a row and returns its index; -1, and nothing added, when the
    // table is full.
    int append(Row cells);
    // Rows outside the table are ignored.
    void erase(int row);
    // Empties the table and starts a new generation.
    void clear();
    // Removes every row for which `remove(cells)` holds, keeping the order of
    // the others; returns how many went. One pass, however many go.
    template <typename Predicate>
    int eraseIf(Predicate remove);

    Generation generation() const { return generation_; }
    // For a clean-up that keeps some rows but renumbers them: fills begun
    // before it stop, as after a clear.
    void startGeneration() { ++generation_; }

    // Cells outside the table read empty and are written nowhere.
    const std::string& cell(int row, int column) const;
    void setCell(int row, int column, std::string_view text);

    // kNoRow for an index outside the table.
    RowId idAt(int row) const;
    // Where the row of that identity stands now; -1 once it is gone.
    int indexOf(RowId id) const;
    // The first row made after the row of identity `id` that is still
    // here, whether or not that row is; -1 when there is none.
    int indexAfter(RowId id) const;

    // Changes since the last call of takeChanges(), for the view: whether rows
    // were removed (indexes moved), and the first and last row whose cells
    // were written (none when first > last).
    struct Changes {
        bool moved = false;
        int firstWritten = INT_MAX;
        int lastWritten = -1;
        bool cellsWritten() const { return firstWritten <= lastWritten; }
    };
    Changes takeChanges();

private:
    bool contains(int row) const { return row >= 0 && row < size(); }

    // A deque, so that growing to a hundred thousand rows never moves the
    // rows already there in one long step of the window thread.
    std::deque<Row> rows_;
    // Beside the cells, so that a search stays in cache. Rows are only ever
    // appended, so identities ascend with the index and a lookup is a binary
    // search.
    std::vector<RowId> ids_;
    RowId next_ = 1;
    Generation generation_ = 1;
    Changes changes_;
};

template <typename Predicate>
int ProxyRows::eraseIf(Predicate remove) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (remove(static_cast<const Row&>(rows_[i]))) continue;
        if (kept != i) {
            rows_[kept] = std::move(rows_[i]);
            ids_[kept] = ids_[i];
        }
        ++kept;
    }
    const auto removed = static_cast<int>(rows_.size() - kept);
    rows_.resize(kept);
    ids_.resize(kept);
    if (removed > 0) changes_.moved = true;
    return removed;
}

}  // namespace velmora::model

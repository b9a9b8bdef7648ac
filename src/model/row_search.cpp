#include "model/row_search.h"

#include <algorithm>
#include <string>

#include "util/text.h"

namespace velmora::model {

int findRowByNumber(const ProxyRows& rows, int shown, const NumberSearch& search) {
    const int count = std::min(shown, rows.size());
    if (count <= 0) return -1;
    const std::string wanted = text::toLowerAscii(search.typed);
    const int start = search.start >= 0 && search.start < count ? search.start : 0;
    for (int step = 0; step < count; ++step) {
        const int row = (start + step) % count;
        if (row < start && !search.wrap) return -1;
        const std::string number = text::toLowerAscii(rows.cell(row, kNumberColumn));
        if (search.partial ? number.starts_with(wanted) : number == wanted) return row;
    }
    return -1;
}

}  // namespace velmora::model

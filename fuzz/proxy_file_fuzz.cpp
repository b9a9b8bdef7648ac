// Proxy file reading on any bytes: no crash; the rows do not depend on how
// the bytes are cut into reads; every row is numbered in order, marked as
// local, holds no line-end byte and, with a port, splits back into the same
// two pieces; a reader given a row limit stops at it and says so.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "actions/proxy_file.h"
#include "actions/proxy_text.h"
#include "support/memory_window.h"
#include "util/text.h"
#include "max_len.h"
#include "require.h"

using velmora::fuzz::require;

// The cuts below fall in the first 256 bytes and lines are read one at a
// time, so longer inputs only cost time: a dozen lines hold every
// arrangement of line ends, separators and ports. They are too short for
// the list's batches of a thousand rows, which the host tests cover with a
// hundred thousand lines.
VELMORA_FUZZ_MAX_LEN(256)

namespace {

using velmora::fakes::MemoryWindow;
using velmora::model::Row;

std::vector<Row> readWhole(const std::string& bytes, int maxRows, bool& truncated) {
    MemoryWindow window;
    velmora::actions::ProxyFileReader reader(window, velmora::actions::clearForFill(window), maxRows);
    reader.feed(bytes);
    reader.finish();
    truncated = reader.truncated();
    return window.rows();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::size_t cuts = input.ConsumeIntegralInRange<std::size_t>(0, 16);
    std::vector<std::size_t> pieces;
    for (std::size_t i = 0; i < cuts; ++i) {
        pieces.push_back(input.ConsumeIntegralInRange<std::size_t>(1, 16));
    }
    // Now and then a short list, so that the limit is met.
    const int maxRows = input.ConsumeIntegralInRange<int>(0, 15) == 15 ? input.ConsumeIntegralInRange<int>(0, 7)
                                                                       : velmora::model::kMaxListedRows;
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    bool truncated = false;
    const std::vector<Row> whole = readWhole(bytes, maxRows, truncated);
    require(whole.size() <= static_cast<std::size_t>(maxRows));
    require(!truncated || whole.size() == static_cast<std::size_t>(maxRows));

    MemoryWindow window;
    velmora::actions::ProxyFileReader reader(window, velmora::actions::clearForFill(window), maxRows);
    std::size_t at = 0;
    for (std::size_t piece : pieces) {
        const std::size_t n = std::min(piece, bytes.size() - at);
        reader.feed(std::string_view(bytes).substr(at, n));
        at += n;
    }
    reader.feed(std::string_view(bytes).substr(at));
    reader.finish();
    require(window.rows() == whole && reader.truncated() == truncated);

    const std::size_t lineEnds = static_cast<std::size_t>(std::count_if(
        bytes.begin(), bytes.end(), [](char c) { return c == '\n' || c == '\0' || c == '\x1a'; }));
    require(whole.size() <= lineEnds + 1);
    for (std::size_t i = 0; i < whole.size(); ++i) {
        const Row& row = whole[i];
        require(row[0] == velmora::text::fromInt(static_cast<long long>(i) + 1));
        require(row[5] == "本地" && row[3].empty() && row[4].empty());
        for (const std::string& cell : {row[1], row[2]}) {
            require(cell.find_first_of(std::string_view("\n\0\x1a", 3)) == std::string::npos);
        }
        // "a::" gives the pieces "a" and "" (only an empty last piece is
        // dropped), and "a:" does not split in two again.
        if (row[2].empty()) continue;
        const auto again = velmora::actions::splitProxyText(row[1] + ":" + row[2]);
        require(again && again->address == row[1] && again->port == row[2]);
    }
    return 0;
}

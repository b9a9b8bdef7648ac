// Proxy file reading on any bytes: no crash; the rows do not depend on how
// the bytes are cut into reads; every row is numbered in order, marked as
// local, holds no line-end byte and, with a port, splits back into the same
// two pieces.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "actions/proxy_file.h"
#include "actions/proxy_text.h"
#include "ui/memory_controls.h"
#include "util/text.h"
#include "require.h"

using velmora::fuzz::require;

namespace {

using velmora::ui::MemoryControls;
using velmora::ui::Row;

std::vector<Row> readWhole(const std::string& bytes) {
    MemoryControls controls;
    velmora::actions::ProxyFileReader reader(controls, velmora::actions::clearForFill(controls));
    reader.feed(bytes);
    reader.finish();
    return controls.rows();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::size_t cuts = input.ConsumeIntegralInRange<std::size_t>(0, 16);
    std::vector<std::size_t> pieces;
    for (std::size_t i = 0; i < cuts; ++i) {
        pieces.push_back(input.ConsumeIntegralInRange<std::size_t>(1, 64));
    }
    const std::string bytes = input.ConsumeRemainingBytesAsString();

    const std::vector<Row> whole = readWhole(bytes);

    MemoryControls controls;
    velmora::actions::ProxyFileReader reader(controls, velmora::actions::clearForFill(controls));
    std::size_t at = 0;
    for (std::size_t piece : pieces) {
        const std::size_t n = std::min(piece, bytes.size() - at);
        reader.feed(std::string_view(bytes).substr(at, n));
        at += n;
    }
    reader.feed(std::string_view(bytes).substr(at));
    reader.finish();
    require(controls.rows() == whole);

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

// The read loop of both HTTP paths: pieces until the body ends or reaches a
// byte cap, with a deadline checked between pieces.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <span>
#include <string_view>

namespace velmora::http {

enum class ReadEnd {
    Ended,   // the body ended, or `take` wanted no more
    Capped,  // `maxBytes` were read; whether more would have come is unknown
    Late,    // `late()` said so after a piece
    Failed,  // `readSome` failed
};

// `readSome(char* into, std::size_t most)` reads at most `most` bytes and
// returns how many, 0 at the end, nullopt when the read failed; it may wait
// for data. `take(std::string_view piece)` gets each piece and returns false
// when it wants no more. `late()` is asked after each piece that did not
// end the read. Pieces are at most `buffer.size()` bytes.
template <typename ReadSome, typename Take, typename Late>
ReadEnd readBounded(std::span<char> buffer, std::size_t maxBytes, ReadSome&& readSome, Take&& take,
                    Late&& late) {
    for (std::size_t total = 0; total < maxBytes;) {
        const std::size_t most = std::min(buffer.size(), maxBytes - total);
        const std::optional<std::size_t> got = readSome(buffer.data(), most);
        if (!got) return ReadEnd::Failed;
        if (*got == 0) return ReadEnd::Ended;
        total += *got;
        if (!take(std::string_view(buffer.data(), *got))) return ReadEnd::Ended;
        if (total >= maxBytes) return ReadEnd::Capped;
        if (late()) return ReadEnd::Late;
    }
    return ReadEnd::Capped;
}

}  // namespace velmora::http

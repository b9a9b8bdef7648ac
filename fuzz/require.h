// A property that every input must keep; a broken one stops the fuzzer.
#pragma once

#include <cstdlib>

namespace velmora::fuzz {

inline void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace velmora::fuzz

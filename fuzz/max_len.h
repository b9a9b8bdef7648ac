// A target's own default for libFuzzer's -max_len, for targets whose inputs
// past some length reach no code and no case that shorter ones miss and only
// slow the run down. The target states its length and the reason beside it;
// a -max_len given on the command line still wins.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::fuzz {

// libFuzzer reads its flags after LLVMFuzzerInitialize, which may change them.
inline void defaultMaxLen(int* argc, char*** argv, std::size_t maxLen) {
    for (int i = 1; i < *argc; ++i) {
        if (std::string_view((*argv)[i]).starts_with("-max_len=")) return;
    }
    static std::string flag;
    static std::vector<char*> args;
    flag = "-max_len=" + std::to_string(maxLen);
    args.assign(*argv, *argv + *argc);
    args.push_back(flag.data());
    args.push_back(nullptr);
    *argv = args.data();
    *argc += 1;
}

}  // namespace velmora::fuzz

#define VELMORA_FUZZ_MAX_LEN(bytes)                                      \
    extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {       \
        velmora::fuzz::defaultMaxLen(argc, argv, (bytes));               \
        return 0;                                                        \
    }

// Hex decoding on any text and key: no crash, no read past the input, at
// most one byte per two digits, and enciphering the result with the same key
// stream reads back.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "util/hex_cipher.h"
#include "util/hex_cipher_stream.h"
#include "max_len.h"
#include "require.h"

using velmora::fuzz::require;

// A kilobyte of hex deciphers to over 300 bytes: more than two rounds of the
// key stream's index (128 bytes each) and four of the longest key.
VELMORA_FUZZ_MAX_LEN(1024)

namespace {

std::string encipher(std::string_view plain, std::string_view key) {
    velmora::HexCipherStream stream(key);
    std::string hex;
    for (const char c : plain) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02X,", static_cast<unsigned char>(c) ^ stream.next());
        hex += pair;
    }
    return hex;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string key = input.ConsumeRandomLengthString(64);
    const std::string hex = input.ConsumeRemainingBytesAsString();

    const std::string plain = velmora::DecodeHexCipher(hex, key);
    require(plain.size() <= hex.size() / 2 + 1);
    require(plain.find('\0') == std::string::npos);
    require(velmora::DecodeHexCipher(encipher(plain, key), key) == plain);
    velmora::HexPairValue(std::string_view(hex).substr(0, 2));
    return 0;
}

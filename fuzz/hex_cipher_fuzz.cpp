// Hex decoding on any text and key: no crash, no read past the input, at
// most one byte per two digits, and enciphering the result reads back.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>

#include "util/hex_cipher.h"
#include "require.h"

using velmora::fuzz::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string key = input.ConsumeRandomLengthString(64);
    const std::string hex = input.ConsumeRemainingBytesAsString();

    const std::string plain = velmora::DecodeHexCipher(hex, key);
    require(plain.size() <= hex.size() / 2 + 1);
    require(plain.find('\0') == std::string::npos);
    require(velmora::DecodeHexCipher(velmora::EncodeHexCipher(plain, key), key) == plain);
    velmora::HexPairValue(std::string_view(hex).substr(0, 2));
    return 0;
}

// Decoding of the start-up texts, which are stored enciphered as hex pairs.
#pragma once

#include <string>
#include <string_view>

namespace velmora {

// Value of a text of one or two hexadecimal digits (either case).
int HexPairValue(std::string_view piece);

// Deciphers a hex text ("," ignored anywhere) with `key`; the result ends at
// the first zero byte.
std::string DecodeHexCipher(std::string_view hexText, std::string_view key);

// The inverse, used at build time: enciphers `plain` and writes each byte as
// two upper-case hex digits followed by ",".
std::string EncodeHexCipher(std::string_view plain, std::string_view key);

}  // namespace velmora

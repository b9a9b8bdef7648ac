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

}  // namespace velmora

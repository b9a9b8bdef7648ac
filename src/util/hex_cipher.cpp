#include "util/hex_cipher.h"

#include <cstdint>

#include "util/hex_cipher_stream.h"

namespace velmora {

namespace {

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

int HexPairValue(std::string_view piece) {
    // Unsigned, so that a long or odd piece wraps instead of overflowing; a
    // character that is no hex digit counts as -1, and callers keep the low
    // eight bits.
    std::uint32_t value = 0;
    for (char c : piece) {
        const std::size_t at = kHexDigits.find(upperAscii(c));
        const std::uint32_t digit = at == std::string_view::npos ? 0xFFFFFFFFu : static_cast<std::uint32_t>(at);
        value = value * 16 + digit;
    }
    return static_cast<int>(value);
}

std::string DecodeHexCipher(std::string_view hexText, std::string_view key) {
    std::string digits;
    digits.reserve(hexText.size());
    for (char c : hexText) {
        if (c != ',') {
            digits += c;
        }
    }
    HexCipherStream stream(key);
    std::string plain;
    plain.reserve(digits.size() / 2 + 1);
    for (std::size_t at = 0; at < digits.size(); at += 2) {
        const auto cipherByte =
            static_cast<unsigned char>(HexPairValue(std::string_view(digits).substr(at, 2)) & 0xFF);
        const auto plainByte = static_cast<unsigned char>(cipherByte ^ stream.next());
        if (plainByte == 0) {
            break;
        }
        plain += static_cast<char>(plainByte);
    }
    return plain;
}

}  // namespace velmora

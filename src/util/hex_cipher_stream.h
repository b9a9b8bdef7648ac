// The key stream behind the start-up texts: a 256-entry permutation of the
// RC4 family with its own index arithmetic. Positions run from 1 to 256 and
// each counter keeps the "+ 1" it was given and carries it into the next
// step; this is not textbook RC4 and must stay exactly as it is, or texts
// enciphered earlier no longer read back. constexpr, so that the build can
// encipher texts while compiling (encipherHex below).
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace velmora {

class HexCipherStream {
public:
    constexpr explicit HexCipherStream(std::string_view key) {
        for (int p = 1; p <= 256; ++p) {
            s_[p] = static_cast<unsigned char>(p - 1);
        }
        std::array<unsigned char, 257> k{};
        std::size_t a = 1;
        for (int p = 1; p <= 256; ++p) {
            if (a > key.size()) {
                a = 1;
            }
            k[p] = key.empty() ? 0 : static_cast<unsigned char>(key[a - 1]);
            ++a;
        }
        int j = 0;
        for (int p = 1; p <= 256; ++p) {
            j = (j + s_[p] + k[p]) % 256 + 1;
            swap(p, j);
        }
    }

    // The next key byte. i runs through 2, 4, ..., 256 and starts again at 2.
    constexpr unsigned char next() {
        i_ = (i_ + 1) % 256 + 1;
        j_ = (j_ + s_[i_]) % 256 + 1;
        swap(i_, j_);
        return s_[(s_[i_] + s_[j_]) % 256 + 1];
    }

private:
    constexpr void swap(int a, int b) {
        unsigned char t = s_[a];
        s_[a] = s_[b];
        s_[b] = t;
    }

    std::array<unsigned char, 257> s_{};  // position 0 unused
    int i_ = 0;
    int j_ = 0;
};

// The stored form of a literal, enciphered with an empty key while compiling:
// each byte as two upper-case hex digits and a ",". consteval, so the plain
// literal exists only inside the constant evaluation and never reaches the
// object file.
template <std::size_t N>
consteval std::array<char, (N - 1) * 3> encipherHex(const char (&plain)[N]) {
    constexpr std::string_view kHexDigits = "0123456789ABCDEF";
    HexCipherStream stream{std::string_view{}};
    std::array<char, (N - 1) * 3> hex{};
    for (std::size_t at = 0; at + 1 < N; ++at) {
        const auto cipherByte = static_cast<unsigned char>(static_cast<unsigned char>(plain[at]) ^ stream.next());
        hex[at * 3] = kHexDigits[cipherByte >> 4];
        hex[at * 3 + 1] = kHexDigits[cipherByte & 0x0F];
        hex[at * 3 + 2] = ',';
    }
    return hex;
}

template <std::size_t M>
constexpr std::string_view hexView(const std::array<char, M>& hex) {
    return {hex.data(), hex.size()};
}

}  // namespace velmora

#include "util/hex_cipher.h"

#include <gtest/gtest.h>

#include "hex_cipher_vectors.h"
#include "util/hex_cipher_stream.h"

namespace {

using velmora::DecodeHexCipher;
using velmora::encipherHex;
using velmora::hexView;
using velmora::HexPairValue;

TEST(HexPairValue, ReadsOneOrTwoDigitsInEitherCase) {
    EXPECT_EQ(HexPairValue("00"), 0);
    EXPECT_EQ(HexPairValue("0A"), 10);
    EXPECT_EQ(HexPairValue("ff"), 255);
    EXPECT_EQ(HexPairValue("Ff"), 255);
    EXPECT_EQ(HexPairValue("7"), 7);
    EXPECT_EQ(HexPairValue(""), 0);
    EXPECT_EQ(HexPairValue("G") & 0xFF, 0xFF);  // not a digit: counts as -1
}

// Vectors from the independent model in tests/tools/hex_cipher_vectors.py.
TEST(HexCipher, MatchesTheIndependentModel) {
    for (const auto& v : kHexCipherVectors) {
        EXPECT_EQ(DecodeHexCipher(v.hex, v.key), v.plain) << "plain size " << v.plain.size();
    }
    // The encoder the build enciphers the start-up texts with.
    constexpr auto hello = encipherHex("Hello, world");
    EXPECT_EQ(kHexCipherVectors[1].plain, "Hello, world");
    EXPECT_EQ(hexView(hello), kHexCipherVectors[1].hex);
}

TEST(HexCipher, StreamCounterCarriesItsPlusOne) {
    // With an empty key the mixing uses K = 0 throughout; the first output
    // byte comes from i = 2, not from i = 1 as textbook RC4 would take it.
    velmora::HexCipherStream stream{std::string_view{}};
    velmora::HexCipherStream again{std::string_view{}};
    for (int n = 0; n < 1000; ++n) {
        ASSERT_EQ(stream.next(), again.next());
    }
    EXPECT_EQ(DecodeHexCipher("50,", ""), "A");
}

TEST(HexCipher, CommasAndCaseDoNotMatter) {
    for (std::string_view key : {std::string_view(""), std::string_view("key")}) {
        EXPECT_EQ(DecodeHexCipher("A1,B2,", key), DecodeHexCipher("A1B2", key));
        EXPECT_EQ(DecodeHexCipher(",,A,1B,,2", key), DecodeHexCipher("a1b2", key));
    }
}

TEST(HexCipher, EmptyTextGivesEmptyText) {
    EXPECT_EQ(DecodeHexCipher("", ""), "");
    EXPECT_EQ(DecodeHexCipher(",,,", "k"), "");
}

TEST(HexCipher, ZeroByteEndsTheResult) {
    constexpr auto hex = encipherHex("ab\0cd");
    EXPECT_EQ(hex.size(), 15u);
    EXPECT_EQ(DecodeHexCipher(hexView(hex), ""), "ab");
}

TEST(HexCipher, OddLengthReadsTheLastSingleDigit) {
    const std::string hex(hexView(encipherHex("ab")));
    // The last piece "0" of an odd text is a byte of value 0 too.
    const std::string shortened = hex.substr(0, 3) + "0";
    EXPECT_EQ(DecodeHexCipher(shortened, "").size(), 2u);
    EXPECT_EQ(DecodeHexCipher(shortened, "")[0], 'a');
}

TEST(HexCipher, ReadsBackWhatTheBuildEnciphered) {
    constexpr auto hex = encipherHex("\xD6\xD0\xCE\xC4 mixed text 123");
    EXPECT_EQ(DecodeHexCipher(hexView(hex), ""), "\xD6\xD0\xCE\xC4 mixed text 123");
    EXPECT_NE(DecodeHexCipher(hexView(hex), "x"), "\xD6\xD0\xCE\xC4 mixed text 123");
}

}  // namespace

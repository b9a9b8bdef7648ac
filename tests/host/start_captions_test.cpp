#include "util/start_captions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif


namespace {

std::filesystem::path ownExecutable() {
#ifdef _WIN32
    wchar_t buffer[32768];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, static_cast<DWORD>(std::size(buffer)));
    return std::filesystem::path(std::wstring(buffer, length));
#else
    return std::filesystem::read_symlink("/proc/self/exe");
#endif
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(StartCaptions, StoredAsUpperCaseHexPairsWithCommas) {
    for (std::string_view hex : velmora::encipheredStartCaptions()) {
        ASSERT_FALSE(hex.empty());
        ASSERT_EQ(hex.size() % 3, 0u);
        for (std::size_t at = 0; at < hex.size(); at += 3) {
            EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(hex[at])) && !std::islower(hex[at]));
            EXPECT_TRUE(std::isxdigit(static_cast<unsigned char>(hex[at + 1])) && !std::islower(hex[at + 1]));
            EXPECT_EQ(hex[at + 2], ',');
        }
    }
}

TEST(StartCaptions, DecipherWholeWithAnEmptyKey) {
    const auto texts = velmora::decodeStartCaptions();
    const auto stored = velmora::encipheredStartCaptions();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        // no zero byte cut a text short
        EXPECT_EQ(texts[i].size() * 3, stored[i].size()) << i;
    }
    EXPECT_EQ(texts[0].rfind("Velmora", 0), 0u);
    // The captions are laid out for texts of these lengths.
    EXPECT_EQ(texts[0].size(), 58u);
    EXPECT_EQ(texts[1].size(), 71u);
    EXPECT_EQ(texts[2].size(), 118u);
    EXPECT_EQ(texts[3].size(), 59u);
}

// The plain wording must not be in the program: this binary links the same
// object, so its bytes must not hold any of the texts or a long piece of one.
TEST(StartCaptions, PlainWordingIsNotInTheBinary) {
    const std::string image = readFile(ownExecutable());
    ASSERT_GT(image.size(), 100000u);
    for (const std::string& text : velmora::decodeStartCaptions()) {
        const std::size_t piece = std::min<std::size_t>(20, text.size());
        for (std::size_t at = 0; at + piece <= text.size(); at += piece) {
            const std::string_view window = std::string_view(text).substr(at, piece);
            EXPECT_EQ(image.find(window), std::string::npos) << "piece at " << at << " of " << text.size();
        }
    }
}

}  // namespace

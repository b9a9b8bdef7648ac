#include "util/startup_texts.h"

#include <cstddef>

#include "util/hex_cipher.h"
#include "util/hex_cipher_stream.h"

namespace velmora {

namespace {

// Hex form of a literal, computed while compiling. consteval: the plain
// literal exists only inside the constant evaluation and never reaches the
// object file.
template <std::size_t N>
consteval std::array<char, (N - 1) * 3> encipher(const char (&plain)[N]) {
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
constexpr std::string_view view(const std::array<char, M>& hex) {
    return {hex.data(), hex.size()};
}

constexpr auto kTitle = encipher("Velmora 免费代理提取验证工具 —— 提取、验证、设为系统代理");
constexpr auto kShareNotice = encipher("本软件免费提供，欢迎分享给有需要的朋友；请勿用于违法用途，否则后果自负!");
constexpr auto kNotice = encipher(
    "公告：列表中的代理来自公开网络，质量参差不齐，使用前请先验证；"
    "验证成功的代理可在右键菜单中设为系统代理，关闭窗口时取消");
constexpr auto kStatusLine = encipher("提示：在代理列表上单击右键，可复制、验证、设置或清除代理IP!");

}  // namespace

std::array<std::string_view, 4> encipheredStartupTexts() {
    return {view(kTitle), view(kShareNotice), view(kNotice), view(kStatusLine)};
}

std::array<std::string, 4> decodeStartupTexts() {
    std::array<std::string, 4> plain;
    const auto stored = encipheredStartupTexts();
    for (std::size_t i = 0; i < stored.size(); ++i) {
        plain[i] = DecodeHexCipher(stored[i], "");
    }
    return plain;
}

void applyStartupTexts(ui::ControlOperations& controls) {
    const auto texts = decodeStartupTexts();
    controls.setTitle(texts[0]);
    controls.setText(ui::kShareNoticeLabel, texts[1]);
    controls.setText(ui::kNoticeLabel, texts[2]);
    controls.setStatusText(1, texts[3]);
}

}  // namespace velmora

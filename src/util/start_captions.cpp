#include "util/start_captions.h"

#include <cstddef>

#include "util/hex_cipher.h"
#include "util/hex_cipher_stream.h"

namespace velmora {

namespace {

constexpr auto kTitle = encipherHex("Velmora 免费代理提取验证工具 —— 提取、验证、设为系统代理");
constexpr auto kShareNotice = encipherHex("本软件免费提供，欢迎分享给有需要的朋友；请勿用于违法用途，否则后果自负!");
constexpr auto kNotice = encipherHex(
    "公告：列表中的代理来自公开网络，质量参差不齐，使用前请先验证；"
    "验证成功的代理可在右键菜单中设为系统代理，关闭窗口时取消");
constexpr auto kStatusLine = encipherHex("提示：在代理列表上单击右键，可复制、验证、设置或清除代理IP!");

}  // namespace

std::array<std::string_view, 4> encipheredStartCaptions() {
    return {hexView(kTitle), hexView(kShareNotice), hexView(kNotice), hexView(kStatusLine)};
}

std::array<std::string, 4> decodeStartCaptions() {
    std::array<std::string, 4> plain;
    const auto stored = encipheredStartCaptions();
    for (std::size_t i = 0; i < stored.size(); ++i) {
        plain[i] = DecodeHexCipher(stored[i], "");
    }
    return plain;
}

}  // namespace velmora

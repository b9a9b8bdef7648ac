// Any bytes: the parser returns a skin or an error, never crashes, and a
// skin it returns keeps the format's bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "skin/skin_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora::skin;
    const SkinParseResult r = parseSkin(std::span<const unsigned char>(data, size));
    if (!r.ok()) {
        if (!r.skin.fontFaces.empty()) std::abort();
        return 0;
    }
    const SkinDescription& s = r.skin;
    if (s.fontFaces.empty() || s.fontHeight < 8 || s.fontHeight > 32 || s.fontWeight < 100 ||
        s.fontWeight > 900 || s.cornerRadius < 0 || s.cornerRadius > 12) {
        std::abort();
    }
    for (const auto& face : s.fontFaces) {
        if (face.empty() || face.size() > 31 * 3) std::abort();
    }
    return 0;
}

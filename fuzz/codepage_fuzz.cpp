// The portable code page conversions on any bytes: no crash, UTF-16 output
// whose surrogates are paired, and code page 936 text that reads back the
// same after one round through UTF-16.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "util/cp936_portable.h"
#include "max_len.h"
#include "require.h"

using velmora::fuzz::require;

// A character is at most four bytes and the conversions carry nothing from
// one to the next: longer inputs repeat what shorter ones do.
VELMORA_FUZZ_MAX_LEN(512)

namespace {

bool surrogatesPaired(std::u16string_view units) {
    for (std::size_t at = 0; at < units.size(); ++at) {
        const char16_t u = units[at];
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (at + 1 >= units.size() || units[at + 1] < 0xDC00 || units[at + 1] > 0xDFFF) {
                return false;
            }
            ++at;
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    namespace p = velmora::codepage::portable;
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    const std::u16string fromUtf8 = p::utf8ToUtf16(bytes);
    require(surrogatesPaired(fromUtf8));
    require(fromUtf8.size() <= bytes.size());
    const std::string gbk = p::utf8ToGbk(bytes);
    require(p::utf16ToGbk(p::gbkToUtf16(gbk), false) == gbk);

    const std::u16string fromGbk = p::gbkToUtf16(bytes);
    const std::string back = p::utf16ToGbk(fromGbk, false);
    require(p::gbkToUtf16(back) == fromGbk);
    return 0;
}

#include "util/wide.h"

#include "util/codepage.h"

namespace velmora {

// wchar_t is a UTF-16 code unit on Windows; the copies only change the type.
std::wstring toWide(std::string_view gbk) {
    const std::u16string units = codepage::gbkToUtf16(gbk);
    return std::wstring(units.begin(), units.end());
}

std::string fromWide(std::wstring_view wide) {
    return codepage::utf16ToGbk(std::u16string(wide.begin(), wide.end()));
}

}  // namespace velmora

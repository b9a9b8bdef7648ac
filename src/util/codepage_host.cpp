// Host build: the conversions without Windows, from the generated table.
#include "util/codepage.h"

#include "util/cp936_portable.h"

namespace velmora::codepage {

std::string utf8ToGbk(std::string_view utf8) { return portable::utf8ToGbk(utf8); }

std::u16string utf8ToUtf16(std::string_view utf8) { return portable::utf8ToUtf16(utf8); }

std::u16string gbkToUtf16(std::string_view gbk) { return portable::gbkToUtf16(gbk); }

std::string utf16ToGbk(std::u16string_view utf16) { return portable::utf16ToGbk(utf16, false); }

}  // namespace velmora::codepage

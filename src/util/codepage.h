// Conversions between code page 936 (the program's text), UTF-8 and UTF-16.
//
// On Windows these go through MultiByteToWideChar/WideCharToMultiByte with
// code page 936 always (codepage_win.cpp); the host build forwards to the
// table-driven equivalent in cp936_portable.h (codepage_host.cpp), which the
// Windows tests compare with the system's conversions.
#pragma once

#include <string>
#include <string_view>

namespace velmora::codepage {

// UTF-8 bytes to code page 936 bytes, through UTF-16 (WC_COMPOSITECHECK,
// system default char); the request engine's conversion of UTF-8 pages.
std::string utf8ToGbk(std::string_view utf8);

// UTF-8 bytes to UTF-16, the first step of utf8ToGbk; the skin file's font
// names are UTF-8.
std::u16string utf8ToUtf16(std::string_view utf8);

// Code page 936 bytes to UTF-16 and back: the Windows boundary and the
// regular-expression object, which matches over UTF-16 code units.
std::u16string gbkToUtf16(std::string_view gbk);
std::string utf16ToGbk(std::u16string_view utf16);

}  // namespace velmora::codepage

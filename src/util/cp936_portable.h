// Code page 936 and UTF-8 conversions without the operating system, from a
// table generated at build time (gen_cp936_table.py). They give what
// Windows gives for code page 936 with these exceptions: characters that
// Windows writes as a "best fit" look-alike (for example U+00AA as 'a')
// become '?' here, as 936 cannot represent them; and malformed UTF-8 is
// replaced by U+FFFD once per maximal ill-formed subpart, the Unicode
// practice that Windows follows (Wine 8 folds some overlong, surrogate and
// out-of-range forms into fewer replacements).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velmora::codepage::portable {

// The default character of code page 936.
inline constexpr char kDefaultChar = '?';

// Code page 936 to UTF-16. A lead byte (0x81-0xFE) takes the next byte with
// it unless that is a zero byte or missing; a pair that is no character, or a
// lead byte alone, gives one '?'.
std::u16string gbkToUtf16(std::string_view gbk);

// UTF-16 to code page 936; every code unit 936 cannot represent (lone or
// paired surrogates included) gives '?'. With `compositeCheck` a base
// character followed by a combining mark is written as the composed
// character when 936 has that one.
std::string utf16ToGbk(std::u16string_view utf16, bool compositeCheck);

// UTF-8 to UTF-16; each maximal ill-formed subpart becomes one U+FFFD.
std::u16string utf8ToUtf16(std::string_view utf8);

// UTF-8 to 936 through UTF-16, with the composite check.
std::string utf8ToGbk(std::string_view utf8);

}  // namespace velmora::codepage::portable

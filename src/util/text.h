// Text conventions shared by every module.
//
// Program text is code page 936 (GBK) bytes in std::string. A byte from 0x81
// to 0xFE starts a two-byte character; lengths and offsets count bytes. Blanks
// are the ASCII space and the full-width space (A1 A1); tabs and line ends are
// not blanks. Only ASCII letters are ever case-folded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::text {

inline constexpr std::size_t npos = std::string_view::npos;

// The lead bytes of code page 936 as the system steps through text: 0x80 is
// the one-byte euro sign and 0xFF a one-byte character of its own, so that a
// euro sign never hides the byte after it from a search.
inline constexpr bool isLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

// Length in bytes (1 or 2) of the character that starts at byte offset `pos`
// (which must lie inside `s` and be a character boundary). A lead byte with
// nothing or a zero byte after it is a character of its own.
std::size_t charLength(std::string_view s, std::size_t pos);

// Whether `s` ends in a lead byte that has no trail byte after it.
bool endsInLoneLeadByte(std::string_view s);

// Byte offset (0-based) of the first occurrence of `needle` in `haystack` that
// starts at or after byte offset `from`, or npos. Character boundaries are
// taken from the start of `haystack`, so a match never begins on the second
// byte of a two-byte character, even when `from` points into one. An empty
// needle is found at the first boundary at or after `from` that lies inside
// the text (never in an empty text).
std::size_t find(std::string_view haystack, std::string_view needle,
                 std::size_t from = 0, bool ignoreCase = false);

// The same search, walking backwards: the last occurrence that starts at a
// character boundary, or npos.
std::size_t findLast(std::string_view haystack, std::string_view needle,
                     bool ignoreCase = false);

inline bool contains(std::string_view haystack, std::string_view needle,
                     bool ignoreCase = false) {
    return find(haystack, needle, 0, ignoreCase) != npos;
}

// Blanks: the ASCII space and the full-width space A1 A1.
std::string_view trim(std::string_view s);
std::string_view trimLeft(std::string_view s);
std::string_view trimRight(std::string_view s);
std::string removeBlanks(std::string_view s);

// ASCII A-Z to a-z; two-byte characters are left alone (their trail bytes
// are never folded).
std::string toLowerAscii(std::string_view s);

// The program's split rule: cut at every occurrence of `delimiter` (found
// with the boundary-aware search); empty pieces between delimiters and before
// the first one are kept; an empty piece after the last delimiter is dropped;
// an empty text gives an empty list. An empty delimiter gives the whole text
// as one piece.
std::vector<std::string> split(std::string_view s, std::string_view delimiter);

// Replace every occurrence of `from` with `to` (boundary-aware, left to right).
std::string replaceAll(std::string_view s, std::string_view from, std::string_view to);

// Decimal text to integer as a lenient reader takes it: full-width digits
// (A3 B0..A3 B9) and the full-width sign characters count as their ASCII
// forms, leading blanks and one sign are skipped, the leading run of digits
// counts, anything else gives 0. The value saturates at the int32 range.
std::int32_t toInt(std::string_view s);

// Decimal text of an integer.
std::string fromInt(long long value);

}  // namespace velmora::text

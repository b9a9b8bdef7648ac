// Windows build: the system's own conversions, code page 936 always. They
// are called directly: kernel32 is in every process and the system keeps it
// from being replaced, so binding them at run time would protect nothing.
#include "util/codepage.h"

#include <windows.h>

#include <climits>

namespace velmora::codepage {

namespace {

constexpr UINT kCodePage936 = 936;

// The conversion calls take int lengths; a larger text cannot exist in a
// 32-bit process, but is refused rather than misread as zero-terminated.
bool fitsInt(std::size_t size) { return size <= static_cast<std::size_t>(INT_MAX); }

std::u16string toUtf16(UINT codePage, std::string_view bytes) {
    if (bytes.empty() || !fitsInt(bytes.size())) {
        return {};
    }
    const int length = static_cast<int>(bytes.size());
    const int units = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    if (units <= 0) {
        return {};
    }
    std::u16string wide(static_cast<std::size_t>(units), u'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), length, reinterpret_cast<wchar_t*>(wide.data()), units);
    return wide;
}

std::string toGbk(std::u16string_view wide, DWORD flags) {
    if (wide.empty() || !fitsInt(wide.size())) {
        return {};
    }
    const auto* units = reinterpret_cast<const wchar_t*>(wide.data());
    const int length = static_cast<int>(wide.size());
    const int size = WideCharToMultiByte(kCodePage936, flags, units, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return {};
    }
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(kCodePage936, flags, units, length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

}  // namespace

std::string utf8ToGbk(std::string_view utf8) { return toGbk(utf8ToUtf16(utf8), WC_COMPOSITECHECK); }

std::u16string utf8ToUtf16(std::string_view utf8) { return toUtf16(CP_UTF8, utf8); }

std::u16string gbkToUtf16(std::string_view gbk) { return toUtf16(kCodePage936, gbk); }

std::string utf16ToGbk(std::u16string_view utf16) { return toGbk(utf16, 0); }

}  // namespace velmora::codepage

#include "ui/wide.h"

#include <windows.h>

#include <climits>

namespace velmora::ui {

namespace {

constexpr UINT kProgramCodePage = 936;

}  // namespace

std::wstring toWide(std::string_view gbk) {
    if (gbk.empty() || gbk.size() > INT_MAX) return {};
    const int length = static_cast<int>(gbk.size());
    const int units = MultiByteToWideChar(kProgramCodePage, 0, gbk.data(), length, nullptr, 0);
    if (units <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(kProgramCodePage, 0, gbk.data(), length, wide.data(), units);
    return wide;
}

std::string fromWide(std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX) return {};
    const int length = static_cast<int>(wide.size());
    const int bytes = WideCharToMultiByte(kProgramCodePage, 0, wide.data(), length, nullptr, 0,
                                          nullptr, nullptr);
    if (bytes <= 0) return {};
    std::string gbk(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(kProgramCodePage, 0, wide.data(), length, gbk.data(), bytes, nullptr,
                        nullptr);
    return gbk;
}

}  // namespace velmora::ui

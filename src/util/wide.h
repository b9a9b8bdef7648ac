// The Windows boundary: program text (code page 936) to UTF-16 and back,
// always with code page 936, whatever the system's ANSI code page is.
#pragma once

#include <string>
#include <string_view>

namespace velmora {

std::wstring toWide(std::string_view gbk);
std::string fromWide(std::wstring_view wide);

}  // namespace velmora

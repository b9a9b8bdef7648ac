// The skin library and the skin file, carried inside the program as constant
// data made at build time from the built library and the skin source.
#pragma once

#include <cstddef>

namespace velmora::skin {

extern const unsigned char kSkinLibraryData[];  // "jedata.dll"
extern const std::size_t kSkinLibrarySize;
extern const unsigned char kSkinFileData[];     // "皮肤.she"
extern const std::size_t kSkinFileSize;

}  // namespace velmora::skin

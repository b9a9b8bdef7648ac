// Skin loading, and its file steps, apart so that they can be tested alone.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "skin/skin_api.h"

namespace velmora::app {

// Writes the skin library and the skin file, both carried inside the
// program, into the current directory and attaches the skin.
void LoadSkin();

// The current directory, read anew on every call, + "\" + name.
std::wstring inCurrentDirectory(std::wstring_view name);

// Writes the whole block: the file is created or truncated and nobody else
// can open it while it is written. A file that could not be written in full
// is removed rather than left half-written. Returns success.
bool writeWholeFile(const std::wstring& path, std::span<const unsigned char> data);

// Sets the file's attributes; only read-only (1), hidden (2), system (4)
// and archive (32) pass. Returns success.
bool setFileAttributes(const std::wstring& path, std::uint32_t attributes);

inline constexpr std::uint32_t kHiddenSystem = 2 | 4;

// Loads the skin library at `path` when the file's bytes are `ours` and
// returns its SkinAttachExW; nullptr, with nothing loaded, when the file is
// another one or cannot be read now. A library file that is not there at
// all is the fatal binding error of "jedata.dll" and "SkinAttachEx".
SkinAttachExWFn* bindOwnSkinLibrary(const std::wstring& path, std::span<const unsigned char> ours);

}  // namespace velmora::app

// Proxy files on disk: paths as the dialogs give them, through the wide API;
// contents as bytes.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "actions/proxy_file.h"

namespace velmora::actions {

// Opens the file read-only and shares it fully, so a read-only file or one
// that another program holds open can still be imported. nullptr on failure.
std::unique_ptr<ByteSource> openFileForReading(const std::filesystem::path& path);

// Creates or truncates the file and writes exactly `bytes`, no terminator.
bool writeFileBytes(const std::filesystem::path& path, std::string_view bytes);

}  // namespace velmora::actions

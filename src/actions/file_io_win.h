// Proxy files on disk: paths as the dialogs give them, through the wide API;
// contents as bytes.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "actions/import_export.h"
#include "actions/proxy_file.h"

namespace velmora::actions {

// Opens the file read-only and shares it fully, so a read-only file or one
// that another program holds open can still be imported. nullptr on failure.
std::unique_ptr<ByteSource> openFileForReading(const std::filesystem::path& path);

// Writes exactly `bytes`, no terminator, into a new file; with `replace`, an
// existing file is truncated and written instead. Exists when the file is
// there and `replace` is false.
WriteResult writeFileBytes(const std::filesystem::path& path, std::string_view bytes, bool replace);

}  // namespace velmora::actions

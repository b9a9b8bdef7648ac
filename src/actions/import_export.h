// The import and export handlers, with the file system handed in so that the
// same code runs against real files in the shell and against memory in tests.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "actions/proxy_file.h"
#include "ui/control_ops.h"

namespace velmora::actions {

// Opens a file for reading; nullptr when it cannot be opened.
using FileOpener = std::function<std::unique_ptr<ByteSource>(const std::filesystem::path& path)>;
// Creates or truncates the file and writes exactly `bytes`; false on failure.
using FileWriter =
    std::function<bool(const std::filesystem::path& path, std::string_view bytes)>;

// Asks for a file, empties the list and fills it from the file. Cancelling
// leaves the list as it was; a file that cannot be opened leaves it empty.
void importProxyFile(ui::ControlOperations& controls, const FileOpener& open);

// Builds the proxy file text, asks where to save it and writes it to the
// chosen name with ".txt" appended. Failures are not reported.
void exportProxyFile(ui::ControlOperations& controls, const FileWriter& write);

}  // namespace velmora::actions

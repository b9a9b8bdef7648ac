// The import and export handlers, with the dialogs and the file system handed
// in so that the same code runs against real files in the shell and against
// memory in tests.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

#include "actions/proxy_file.h"
#include "model/prompts.h"
#include "model/proxy_list.h"

namespace velmora::actions {

// The window's two file dialogs, modal and owned by the window. Each gives
// the full path the user confirmed, exactly as the dialog has it (never
// through a code page), or nothing when the user cancelled.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // ImportDialog: an open dialog for an existing "代理文本(*.txt)" file.
    virtual std::optional<std::filesystem::path> chooseFileToImport() = 0;
    // ExportDialog: a save dialog that asks before it overwrites a file.
    virtual std::optional<std::filesystem::path> chooseFileToExport() = 0;
};

// Opens a file for reading; nullptr when it cannot be opened.
using FileOpener = std::function<std::unique_ptr<ByteSource>(const std::filesystem::path& path)>;
// Creates or truncates the file and writes exactly `bytes`; false on failure.
using FileWriter =
    std::function<bool(const std::filesystem::path& path, std::string_view bytes)>;

// Asks for a file, empties the list and fills it from the file. Cancelling
// leaves the list as it was; a file that cannot be opened leaves it empty.
void importProxyFile(model::ProxyList& list, FileDialogs& dialogs, model::Prompts& prompts,
                     const FileOpener& open);

// Builds the proxy file text, asks where to save it and writes it to the
// chosen name with ".txt" appended. Failures are not reported.
void exportProxyFile(model::ProxyList& list, FileDialogs& dialogs, const FileWriter& write);

}  // namespace velmora::actions

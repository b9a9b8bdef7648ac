// The import and export handlers, with the dialogs and the file system handed
// in so that the same code runs against real files in the shell and against
// memory in tests.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "actions/proxy_file.h"
#include "model/prompts.h"
#include "model/proxy_list.h"

namespace velmora::actions {

// The window's file dialogs and the question before a file is replaced,
// modal and owned by the window. Each dialog gives the full path the user
// confirmed, exactly as the dialog has it (never through a code page), or
// nothing when the user cancelled.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // ImportDialog: an open dialog for an existing "代理文本(*.txt)" file.
    virtual std::optional<std::filesystem::path> chooseFileToImport() = 0;
    // ExportDialog: a save dialog. It asks nothing about the name chosen:
    // the file written is another one (".txt" is appended).
    virtual std::optional<std::filesystem::path> chooseFileToExport() = 0;
    // Asks whether `file`, which exists, may be replaced (是/否).
    virtual bool confirmReplace(const std::filesystem::path& file) = 0;
};

// Opens a file for reading; nullptr when it cannot be opened.
using FileOpener = std::function<std::unique_ptr<ByteSource>(const std::filesystem::path& path)>;

enum class WriteResult { Written, Exists, Failed };
// Writes exactly `bytes` to the file: into a new file only, or, with
// `replace`, truncating one that exists.
using FileWriter = std::function<WriteResult(const std::filesystem::path& path, std::string_view bytes,
                                             bool replace)>;

// What the user is told when the chosen file cannot be read at all, when
// reading it broke off, and when the export could not be written.
std::string importUnreadableMessage();
std::string importBrokenMessage();
std::string exportFailedMessage();

// Reads the proxies of the file at `path` into the list. The list is
// emptied only once the file has opened and its first bytes were read: a
// file that cannot be read leaves the list as it was, and says so.
void importProxyFileAt(model::ProxyList& list, model::Prompts& prompts,
                       const std::filesystem::path& path, const FileOpener& open);

// Where the read of a chosen file runs: on a worker of the window's, so that
// a file of any size leaves the window answering; at once in tests.
using ReadRunner = std::function<void(std::function<void()> read)>;

// "导入代理": asks for a file, then imports it as above through `runRead`.
// Cancelling leaves the list as it was. `list` and `prompts` must outlive
// the read.
void importProxyFile(model::ProxyList& list, FileDialogs& dialogs, model::Prompts& prompts,
                     const FileOpener& open, const ReadRunner& runRead);

// "导出代理": builds the proxy file text, asks where to save it and writes it
// to the chosen name with ".txt" appended. A file of that name is replaced
// only after the user said yes to replacing that very file.
void exportProxyFile(model::ProxyList& list, FileDialogs& dialogs, model::Prompts& prompts,
                     const FileWriter& write);

}  // namespace velmora::actions

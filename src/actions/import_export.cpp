#include "actions/import_export.h"

#include <string>

namespace velmora::actions {

void importProxyFile(model::ProxyList& list, FileDialogs& dialogs, model::Prompts& prompts,
                     const FileOpener& open) {
    const std::optional<std::filesystem::path> path = dialogs.chooseFileToImport();
    if (!path) return;
    const model::Generation fill = clearForFill(list);
    if (fill == 0) return;
    std::unique_ptr<ByteSource> source = open(*path);
    if (!source) return;
    if (readProxyFile(*source, list, fill)) prompts.inform(model::listedOnlyMessage());
}

void exportProxyFile(model::ProxyList& list, FileDialogs& dialogs, const FileWriter& write) {
    // The text is taken before the dialog opens: what is saved is the list
    // as it was when the command was chosen.
    const std::string text = proxyFileText(list);
    std::optional<std::filesystem::path> file = dialogs.chooseFileToExport();
    if (!file) return;
    // ".txt" is appended even to a name that already ends in it.
    *file += ".txt";
    write(*file, text);
}

}  // namespace velmora::actions

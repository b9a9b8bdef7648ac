#include "actions/import_export.h"

#include <string>

namespace velmora::actions {

std::string importUnreadableMessage() { return "无法读取所选的文件，代理列表没有改变。"; }

std::string importBrokenMessage() { return "读取文件时出错，只导入了出错之前的代理。"; }

std::string exportFailedMessage() { return "无法写入文件，代理没有导出。"; }

void importProxyFileAt(model::ProxyList& list, model::Prompts& prompts,
                       const std::filesystem::path& path, const FileOpener& open) {
    std::unique_ptr<ByteSource> source = open(path);
    if (!source) {
        prompts.inform(importUnreadableMessage());
        return;
    }
    switch (importProxies(*source, list)) {
        case ImportEnd::Unreadable:
            prompts.inform(importUnreadableMessage());
            return;
        case ImportEnd::Limited:
            prompts.inform(model::listedOnlyMessage());
            return;
        case ImportEnd::Broken:
            prompts.inform(importBrokenMessage());
            return;
        case ImportEnd::Whole:
        case ImportEnd::Abandoned:
            return;
    }
}

void importProxyFile(model::ProxyList& list, FileDialogs& dialogs, model::Prompts& prompts,
                     const FileOpener& open, const ReadRunner& runRead) {
    std::optional<std::filesystem::path> path = dialogs.chooseFileToImport();
    if (!path) return;
    runRead([&list, &prompts, open, path = std::move(*path)] {
        importProxyFileAt(list, prompts, path, open);
    });
}

void exportProxyFile(model::ProxyList& list, FileDialogs& dialogs, model::Prompts& prompts,
                     const FileWriter& write) {
    // The text is taken before the dialog opens: what is saved is the list
    // as it was when the command was chosen.
    const std::string text = proxyFileText(list);
    std::optional<std::filesystem::path> file = dialogs.chooseFileToExport();
    if (!file) return;
    // ".txt" is appended even to a name that already ends in it.
    *file += ".txt";
    WriteResult result = write(*file, text, false);
    if (result == WriteResult::Exists) {
        if (!dialogs.confirmReplace(*file)) return;
        result = write(*file, text, true);
    }
    if (result == WriteResult::Failed) prompts.warn(exportFailedMessage());
}

}  // namespace velmora::actions

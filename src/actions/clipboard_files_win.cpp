#include <optional>
#include <string>

#include "actions/clipboard_actions.h"
#include "actions/clipboard_win.h"
#include "actions/file_io_win.h"
#include "actions/import_export.h"
#include "ui/handlers.h"
#include "ui/window.h"

namespace velmora {

void CopyProxy() {
    if (const std::optional<std::string> text = actions::proxyTextToCopy(ui::windowControls())) {
        actions::setClipboardText(*text);
    }
}

void PasteProxy() { actions::pasteProxyText(ui::windowControls(), actions::clipboardText()); }

void ImportProxies() { actions::importProxies(ui::windowControls(), actions::openFileForReading); }

void ExportProxies() { actions::exportProxies(ui::windowControls(), actions::writeFileBytes); }

}  // namespace velmora

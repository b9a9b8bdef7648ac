#include "actions/import_export.h"

namespace velmora::actions {

void importProxyFile(ui::ControlOperations& controls, const FileOpener& open) {
    if (!controls.showDialog(ui::kImportDialog)) return;
    const std::filesystem::path path = controls.dialogFileName(ui::kImportDialog);
    const ui::Generation fill = clearForFill(controls);
    if (fill == 0) return;
    std::unique_ptr<ByteSource> source = open(path);
    if (!source) return;
    if (readProxyFile(*source, controls, fill)) controls.messageBox(ui::listedOnlyMessage());
}

void exportProxyFile(ui::ControlOperations& controls, const FileWriter& write) {
    // The text is taken before the dialog opens: what is saved is the list
    // as it was when the command was chosen.
    const std::string text = proxyFileText(controls);
    controls.setDialogType(ui::kExportDialog, 1);
    if (!controls.showDialog(ui::kExportDialog)) return;
    // ".txt" is appended even to a name that already ends in it.
    std::filesystem::path file = controls.dialogFileName(ui::kExportDialog);
    file += ".txt";
    write(file, text);
}

}  // namespace velmora::actions

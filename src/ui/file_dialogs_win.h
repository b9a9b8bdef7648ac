// ImportDialog and ExportDialog: the common open and save dialogs, owned by
// the main window; and the question before an export replaces a file.
#pragma once

#include "actions/import_export.h"

namespace velmora::ui {

class MainWindow;

class WindowFileDialogs final : public actions::FileDialogs {
public:
    explicit WindowFileDialogs(MainWindow& window) : window_(window) {}
    std::optional<std::filesystem::path> chooseFileToImport() override;
    std::optional<std::filesystem::path> chooseFileToExport() override;
    bool confirmReplace(const std::filesystem::path& file) override;

private:
    enum class Kind { Open, Save };
    std::optional<std::filesystem::path> choose(Kind kind);

    MainWindow& window_;
};

}  // namespace velmora::ui

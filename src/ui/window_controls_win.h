// ControlOperations of the real window.
#pragma once

#include <array>
#include <string>

#include "ui/control_ops.h"

namespace velmora::ui {

class MainWindow;

// Every operation runs on the window thread. A worker's call is sent there
// with SendMessage, so the worker waits until the operation is done while the
// window thread never waits for a worker. When the window is gone the send
// fails and the operation does nothing (reads give their empty value).
class WindowControls final : public ControlOperations {
public:
    explicit WindowControls(MainWindow& window) : window_(window) {}

    int rowCount() override;
    int insertRow(int position, std::string_view text) override;
    void setCellText(int row, int column, std::string_view text) override;
    std::string cellText(int row, int column) override;
    void deleteRow(int row) override;
    void deleteAllRows() override;
    int currentRow() override;
    void setCurrentRow(int row) override;
    void ensureVisible(int row) override;
    void focusList() override;
    void withRows(const std::function<void(ProxyRows& rows)>& work) override;
    std::string text(ControlId id) override;
    void setText(ControlId id, std::string_view text) override;
    int noticeLeft() override;
    void setNoticeLeft(int left) override;
    int noticeWidth() override;
    void setStatusText(int panel, std::string_view text) override;
    void setTitle(std::string_view title) override;
    std::string title() override;
    int clientWidth() override;
    void setDialogType(DialogId dialog, int type) override;
    bool showDialog(DialogId dialog) override;
    std::string dialogFileName(DialogId dialog) override;
    void popupListMenu(int screenX, int screenY) override;
    void messageBox(std::string_view text, std::string_view title,
                    MessageBoxIcon icon) override;

private:
    // The import and the export dialog: the type last set and the file last
    // confirmed.
    struct DialogState {
        int type = 0;
        std::string fileName;
    };

    template <typename R, typename F>
    R onWindowThread(R fallback, F&& operation);
    template <typename F>
    void onWindowThread(F&& operation);
    bool runFileDialog(DialogId dialog);

    MainWindow& window_;
    std::array<DialogState, 2> dialogs_;
};

}  // namespace velmora::ui

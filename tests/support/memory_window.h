// An in-memory ControlOperations for host tests: the list, the texts and the
// dialogs as plain data, with a record of the message boxes and menu pop-ups.
#pragma once

#include <array>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "ui/control_ops.h"

namespace velmora::ui {

struct ShownMessage {
    std::string text;
    std::string title;
    MessageBoxIcon icon;
};

class MemoryControls final : public ControlOperations {
public:
    MemoryControls();

    int rowCount() override;
    int insertRow(int position = -1, std::string_view text = {}) override;
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
    std::filesystem::path dialogFileName(DialogId dialog) override;

    void popupListMenu(int screenX, int screenY) override;
    void messageBox(std::string_view text, std::string_view title = "信息：",
                    MessageBoxIcon icon = kIconNone) override;

    // Test set-up and inspection. Access is serialised, so workers on other
    // threads may use the object as they use the window.
    std::vector<Row> rows();
    void setRows(std::vector<Row> rows);
    std::string statusText(int panel);
    std::vector<ShownMessage> messages();
    struct DialogScript {
        int type = 0;
        bool confirm = false;
        std::filesystem::path fileName;
        int shownCount = 0;
        int typeWhenShown = -1;
    };
    void scriptDialog(DialogId dialog, bool confirm, std::filesystem::path fileName);
    DialogScript dialog(DialogId dialog);
    struct Popup {
        int x;
        int y;
    };
    std::vector<Popup> popups();
    void setNoticeGeometry(int left, int width, int clientWidth);
    int focusCount();
    std::vector<int> ensureVisibleCalls();
    // Runs after every withRows() call, as the user acting between two
    // round trips would.
    void afterEachRowsTrip(std::function<void()> hook);

private:
    std::recursive_mutex mutex_;
    ProxyRows rows_;
    RowId selected_ = kNoRow;
    std::map<int, std::string> texts_;
    std::array<std::string, 2> status_;
    std::string title_;
    int noticeLeft_ = 0;
    int noticeWidth_ = 728;
    int clientWidth_ = 479;
    std::array<DialogScript, 2> dialogs_;
    std::vector<ShownMessage> messages_;
    std::vector<Popup> popups_;
    int focusCount_ = 0;
    std::vector<int> ensureVisible_;
    std::function<void()> afterRowsTrip_;
};

}  // namespace velmora::ui

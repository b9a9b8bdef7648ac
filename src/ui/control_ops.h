// The operations on the window's controls that handlers and workers call.
//
// The Win32 window implements them by sending messages to its own thread, so
// a worker may call any of them and waits while the window thread carries the
// operation out; once the window is gone they do nothing and read as empty.
// Host tests use MemoryControls (memory_controls.h) instead.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "ui/ids.h"
#include "ui/proxy_rows.h"

namespace velmora::ui {

// Message box flags, the values of the Windows constants of the same meaning.
enum MessageBoxIcon : unsigned {
    kIconNone = 0x00,
    kIconError = 0x10,
    kIconExclamation = 0x30,
    kIconInformation = 0x40,
};

class ControlOperations {
public:
    virtual ~ControlOperations() = default;

    // ProxyList. Rows and columns count from 0; a row index outside the list
    // reads as an empty text and writes nowhere.
    virtual int rowCount() = 0;
    // Inserts a row whose column 0 holds `text`; a negative position appends.
    // Returns the index of the new row (-1 when it could not be inserted).
    virtual int insertRow(int position = -1, std::string_view text = {}) = 0;
    virtual void setCellText(int row, int column, std::string_view text) = 0;
    virtual std::string cellText(int row, int column) = 0;
    virtual void deleteRow(int row) = 0;
    virtual void deleteAllRows() = 0;
    // -1 when no row is selected; a negative value removes the selection.
    virtual int currentRow() = 0;
    virtual void setCurrentRow(int row) = 0;
    virtual void ensureVisible(int row) = 0;
    virtual void focusList() = 0;

    // Runs `work` with the list's rows on the window thread: one round trip
    // however many rows it reads or writes, and the list view shows the
    // result afterwards. The selection moves with its row and goes with it.
    // Once the window is gone nothing runs.
    virtual void withRows(const std::function<void(ProxyRows& rows)>& work) = 0;

    // Captions of labels, texts of edit boxes, the text of a combo box (its
    // edit field, or the selected item of a drop-down list).
    virtual std::string text(ControlId id) = 0;
    virtual void setText(ControlId id, std::string_view text) = 0;

    // NoticeLabel's place in its parent's client area.
    virtual int noticeLeft() = 0;
    virtual void setNoticeLeft(int left) = 0;
    virtual int noticeWidth() = 0;

    // StatusBar panels 0 and 1; any other index changes nothing.
    virtual void setStatusText(int panel, std::string_view text) = 0;

    virtual void setTitle(std::string_view title) = 0;
    virtual std::string title() = 0;
    virtual int clientWidth() = 0;

    // Common file dialogs: type 0 open, 1 save. show() is modal and returns
    // true when the user confirmed a file, whose full path fileName() gives.
    // The path is the dialog's own, never converted to the program's code
    // page: a folder name that code page cannot hold must still work.
    virtual void setDialogType(DialogId dialog, int type) = 0;
    virtual bool showDialog(DialogId dialog) = 0;
    virtual std::filesystem::path dialogFileName(DialogId dialog) = 0;

    // ListMenu at a screen point; the chosen item's handler runs afterwards.
    virtual void popupListMenu(int screenX, int screenY) = 0;

    // Task-modal message box without owner window and with a single OK button.
    // It blocks only the calling thread.
    virtual void messageBox(std::string_view text, std::string_view title = "信息：",
                            MessageBoxIcon icon = kIconNone) = 0;
};

}  // namespace velmora::ui

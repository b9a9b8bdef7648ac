// ControlOperations of the real window.
//
// Every operation runs on the window thread. A worker's call is sent there
// with SendMessage, so the worker waits until the operation is done while the
// window thread never waits for a worker. When the window is gone the send
// fails and the operation does nothing (reads give their empty value).
#include "ui/window_controls_win.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/layout.h"
#include "ui/main_window_win.h"
#include "util/wide.h"

namespace velmora::ui {

namespace {

std::string windowText(HWND window) {
    if (window == nullptr) return {};
    const int length = GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return fromWide(text);
}

// "description|pattern" to the dialog's list of zero-terminated strings.
std::wstring dialogFilter(std::string_view filter) {
    if (filter.empty()) return {};
    std::wstring wide = toWide(filter);
    for (wchar_t& ch : wide) {
        if (ch == L'|') ch = L'\0';
    }
    wide.push_back(L'\0');
    wide.push_back(L'\0');
    return wide;
}

class WindowControls final : public ControlOperations {
public:
    explicit WindowControls(MainWindow& window) : window_(window) {}

    int rowCount() override {
        return onWindowThread(0, [this] { return window_.listView().rows().size(); });
    }

    int insertRow(int position, std::string_view text) override {
        return onWindowThread(-1, [&] {
            int row = -1;
            window_.listView().edit([&](ProxyRows& rows) { row = rows.insert(position, text); });
            return row;
        });
    }

    void setCellText(int row, int column, std::string_view text) override {
        withRows([&](ProxyRows& rows) { rows.setCell(row, column, text); });
    }

    std::string cellText(int row, int column) override {
        return onWindowThread(std::string(),
                              [&] { return window_.listView().rows().cell(row, column); });
    }

    void deleteRow(int row) override {
        withRows([&](ProxyRows& rows) { rows.erase(row); });
    }

    void deleteAllRows() override {
        withRows([](ProxyRows& rows) { rows.clear(); });
    }

    int currentRow() override {
        return onWindowThread(-1, [this] { return window_.listView().selected(); });
    }

    void setCurrentRow(int row) override {
        onWindowThread([&] { window_.listView().select(row); });
    }

    void ensureVisible(int row) override {
        onWindowThread([&] { window_.listView().ensureVisible(row); });
    }

    void focusList() override {
        onWindowThread([this] {
            if (HWND lv = window_.control(kProxyList)) SetFocus(lv);
        });
    }

    void withRows(const std::function<void(ProxyRows& rows)>& work) override {
        onWindowThread([&] {
            if (window_.hwnd() != nullptr) window_.listView().edit(work);
        });
    }

    std::string text(ControlId id) override {
        return onWindowThread(std::string(), [&] { return windowText(window_.control(id)); });
    }

    void setText(ControlId id, std::string_view text) override {
        if (id == kRawResultEdit) {
            // A result text can be megabytes: the feeder converts it piece
            // by piece as it goes in.
            std::string copy(text);
            onWindowThread([&] { window_.resultFeeder().replace(std::move(copy)); });
            return;
        }
        const std::wstring wide = toWide(text);
        onWindowThread([&] {
            if (HWND control = window_.control(id)) SetWindowTextW(control, wide.c_str());
        });
    }

    int noticeLeft() override {
        return onWindowThread(0, [this] { return noticeRect().left; });
    }

    void setNoticeLeft(int left) override {
        onWindowThread([&] {
            HWND label = window_.control(kNoticeLabel);
            if (label == nullptr) return;
            const RECT r = noticeRect();
            SetWindowPos(label, nullptr, left, r.top, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        });
    }

    int noticeWidth() override {
        return onWindowThread(0, [this] {
            const RECT r = noticeRect();
            return static_cast<int>(r.right - r.left);
        });
    }

    void setStatusText(int panel, std::string_view text) override {
        if (panel < 0 || panel > 1) return;
        onWindowThread([&] {
            if (HWND bar = window_.control(kStatusBar)) {
                SendMessageW(bar, SB_SETTEXTW, static_cast<WPARAM>(panel),
                             reinterpret_cast<LPARAM>(toWide(text).c_str()));
            }
        });
    }

    void setTitle(std::string_view title) override {
        onWindowThread([&] {
            if (HWND main = window_.hwnd()) SetWindowTextW(main, toWide(title).c_str());
        });
    }

    std::string title() override {
        return onWindowThread(std::string(), [this] { return windowText(window_.hwnd()); });
    }

    int clientWidth() override {
        return onWindowThread(0, [this] {
            RECT r{};
            GetClientRect(window_.hwnd(), &r);
            return static_cast<int>(r.right - r.left);
        });
    }

    void setDialogType(DialogId dialog, int type) override {
        onWindowThread([&] { dialogs_[static_cast<std::size_t>(dialog)].type = type; });
    }

    bool showDialog(DialogId dialog) override {
        return onWindowThread(false, [&] { return runFileDialog(dialog); });
    }

    std::filesystem::path dialogFileName(DialogId dialog) override {
        return onWindowThread(std::filesystem::path(),
                              [&] { return dialogs_[static_cast<std::size_t>(dialog)].fileName; });
    }

    void popupListMenu(int screenX, int screenY) override {
        onWindowThread([&] {
            HWND main = window_.hwnd();
            if (main == nullptr || window_.listMenu() == nullptr) return;
            const auto chosen = static_cast<UINT>(TrackPopupMenu(
                window_.listMenu(), TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD,
                screenX, screenY, 0, main, nullptr));
            window_.listMenuClosed(chosen);
        });
    }

    void messageBox(std::string_view text, std::string_view title,
                    MessageBoxIcon icon) override {
        // Shown on the calling thread, so that it blocks only that thread.
        MessageBoxW(nullptr, toWide(text).c_str(), toWide(title).c_str(),
                    MB_OK | MB_TASKMODAL | static_cast<UINT>(icon));
    }

private:
    // The import and the export dialog: the type last set and the file last
    // confirmed.
    struct DialogState {
        int type = 0;
        std::filesystem::path fileName;
    };

    template <typename R, typename F>
    R onWindowThread(R fallback, F&& operation) {
        if (window_.hwnd() == nullptr) return fallback;
        R result = fallback;
        window_.tasks().run([&] {
            // Queued just before the window went: nothing to act on.
            if (window_.hwnd() != nullptr) result = operation();
        });
        return result;
    }

    template <typename F>
    void onWindowThread(F&& operation) {
        onWindowThread(0, [&] {
            operation();
            return 0;
        });
    }

    bool runFileDialog(DialogId dialog) {
        DialogState& state = dialogs_[static_cast<std::size_t>(dialog)];
        std::vector<wchar_t> file(32768, L'\0');
        const std::wstring filter = dialogFilter(dialog == kImportDialog ? kImportFilter : "");
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof ofn;
        ofn.hwndOwner = window_.hwnd();
        ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
        ofn.lpstrFile = file.data();
        ofn.nMaxFile = static_cast<DWORD>(file.size());
        // The current directory is deliberately left at the chosen file's folder.
        ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
        BOOL confirmed;
        if (state.type == 1) {
            ofn.Flags |= OFN_OVERWRITEPROMPT;
            confirmed = GetSaveFileNameW(&ofn);
        } else {
            ofn.Flags |= OFN_FILEMUSTEXIST;
            confirmed = GetOpenFileNameW(&ofn);
        }
        if (!confirmed) return false;
        state.fileName = std::filesystem::path(file.data());
        return true;
    }

    RECT noticeRect() {
        RECT r{};
        HWND label = window_.control(kNoticeLabel);
        if (label == nullptr) return r;
        GetWindowRect(label, &r);
        MapWindowPoints(nullptr, GetParent(label), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }

    MainWindow& window_;
    std::array<DialogState, 2> dialogs_;
};

}  // namespace

std::unique_ptr<ControlOperations> makeWindowControls(MainWindow& window) {
    return std::make_unique<WindowControls>(window);
}

}  // namespace velmora::ui

#include "ui/window_controls_win.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/layout.h"
#include "ui/main_window_win.h"
#include "ui/wide.h"

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

// NoticeLabel's rectangle in its parent's client area; empty without it.
RECT noticeRect(HWND label) {
    RECT r{};
    if (label == nullptr) return r;
    GetWindowRect(label, &r);
    MapWindowPoints(nullptr, GetParent(label), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

}  // namespace

template <typename R, typename F>
R WindowControls::onWindowThread(R fallback, F&& operation) {
    HWND main = window_.hwnd();
    if (main == nullptr) return fallback;
    if (GetCurrentThreadId() == window_.threadId()) return operation();
    R result = fallback;
    std::function<void()> task = [&] { result = operation(); };
    SendMessageW(main, kRunOnWindowThread, 0, reinterpret_cast<LPARAM>(&task));
    return result;
}

template <typename F>
void WindowControls::onWindowThread(F&& operation) {
    onWindowThread(0, [&] {
        operation();
        return 0;
    });
}

bool WindowControls::runFileDialog(DialogId dialog) {
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
    state.fileName = fromWide(file.data());
    return true;
}

int WindowControls::rowCount() {
    return onWindowThread(0, [this] { return window_.listView().rows().size(); });
}

int WindowControls::insertRow(int position, std::string_view text) {
    return onWindowThread(-1, [&] {
        int row = -1;
        window_.listView().edit([&](ProxyRows& rows) { row = rows.insert(position, text); });
        return row;
    });
}

void WindowControls::setCellText(int row, int column, std::string_view text) {
    withRows([&](ProxyRows& rows) { rows.setCell(row, column, text); });
}

std::string WindowControls::cellText(int row, int column) {
    return onWindowThread(std::string(),
                          [&] { return window_.listView().rows().cell(row, column); });
}

void WindowControls::deleteRow(int row) {
    withRows([&](ProxyRows& rows) { rows.erase(row); });
}

void WindowControls::deleteAllRows() {
    withRows([](ProxyRows& rows) { rows.clear(); });
}

int WindowControls::currentRow() {
    return onWindowThread(-1, [this] { return window_.listView().selected(); });
}

void WindowControls::setCurrentRow(int row) {
    onWindowThread([&] { window_.listView().select(row); });
}

void WindowControls::ensureVisible(int row) {
    onWindowThread([&] { window_.listView().ensureVisible(row); });
}

void WindowControls::focusList() {
    onWindowThread([this] {
        if (HWND lv = window_.control(kProxyList)) SetFocus(lv);
    });
}

void WindowControls::withRows(const std::function<void(ProxyRows& rows)>& work) {
    onWindowThread([&] {
        if (window_.hwnd() != nullptr) window_.listView().edit(work);
    });
}

std::string WindowControls::text(ControlId id) {
    return onWindowThread(std::string(), [&] { return windowText(window_.control(id)); });
}

void WindowControls::setText(ControlId id, std::string_view text) {
    onWindowThread([&] {
        if (id == kRawResultEdit) {
            window_.resultFeeder().replace(text);
        } else if (HWND control = window_.control(id)) {
            SetWindowTextW(control, toWide(text).c_str());
        }
    });
}

int WindowControls::noticeLeft() {
    return onWindowThread(0, [this] { return noticeRect(window_.control(kNoticeLabel)).left; });
}

void WindowControls::setNoticeLeft(int left) {
    onWindowThread([&] {
        HWND label = window_.control(kNoticeLabel);
        if (label == nullptr) return;
        const RECT r = noticeRect(label);
        SetWindowPos(label, nullptr, left, r.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    });
}

int WindowControls::noticeWidth() {
    return onWindowThread(0, [this] {
        const RECT r = noticeRect(window_.control(kNoticeLabel));
        return static_cast<int>(r.right - r.left);
    });
}

void WindowControls::setStatusText(int panel, std::string_view text) {
    if (panel < 0 || panel > 1) return;
    onWindowThread([&] {
        if (HWND bar = window_.control(kStatusBar)) {
            SendMessageW(bar, SB_SETTEXTW, static_cast<WPARAM>(panel),
                         reinterpret_cast<LPARAM>(toWide(text).c_str()));
        }
    });
}

void WindowControls::setTitle(std::string_view title) {
    onWindowThread([&] {
        if (HWND main = window_.hwnd()) SetWindowTextW(main, toWide(title).c_str());
    });
}

std::string WindowControls::title() {
    return onWindowThread(std::string(), [this] { return windowText(window_.hwnd()); });
}

int WindowControls::clientWidth() {
    return onWindowThread(0, [this] {
        RECT r{};
        GetClientRect(window_.hwnd(), &r);
        return static_cast<int>(r.right - r.left);
    });
}

void WindowControls::setDialogType(DialogId dialog, int type) {
    onWindowThread([&] { dialogs_[static_cast<std::size_t>(dialog)].type = type; });
}

bool WindowControls::showDialog(DialogId dialog) {
    return onWindowThread(false, [&] { return runFileDialog(dialog); });
}

std::string WindowControls::dialogFileName(DialogId dialog) {
    return onWindowThread(std::string(),
                          [&] { return dialogs_[static_cast<std::size_t>(dialog)].fileName; });
}

void WindowControls::popupListMenu(int screenX, int screenY) {
    onWindowThread([&] {
        HWND main = window_.hwnd();
        if (main == nullptr || window_.listMenu() == nullptr) return;
        // The chosen item arrives as WM_COMMAND after the menu closes.
        TrackPopupMenu(window_.listMenu(), TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN,
                       screenX, screenY, 0, main, nullptr);
    });
}

void WindowControls::messageBox(std::string_view text, std::string_view title,
                                MessageBoxIcon icon) {
    // Shown on the calling thread, so that it blocks only that thread.
    MessageBoxW(nullptr, toWide(text).c_str(), toWide(title).c_str(),
                MB_OK | MB_TASKMODAL | static_cast<UINT>(icon));
}

}  // namespace velmora::ui

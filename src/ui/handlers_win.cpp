#include "ui/handlers.h"

#include <windows.h>

#include <optional>
#include <string>

#include "actions/clipboard_actions.h"
#include "actions/clipboard_win.h"
#include "actions/file_io_win.h"
#include "actions/import_export.h"
#include "actions/list_actions.h"
#include "actions/open_link_win.h"
#include "actions/system_proxy_win.h"
#include "actions/working_set_win.h"
#include "extract/extraction.h"
#include "ui/layout.h"
#include "ui/main_window_win.h"
#include "ui/notice_scroll.h"
#include "verify/verify_all.h"
#include "verify/verify_win.h"

namespace velmora::ui {

namespace {

// Runs on the window thread, so the row is read as the user sees it at the
// moment the verification starts.
void startVerifyProxy(MainWindow& window, int row) {
    if (!window.windowOpen()) return;
    verify::ProxyUnderTest proxy = verify::proxyAt(window.list(), row);
    if (proxy.row == model::kNoRow) return;
    window.workers().start([&window, proxy = std::move(proxy)] {
        // Started just before the window went: the program is ending, and no
        // request may leave after its window is gone.
        if (!window.windowOpen()) return;
        verify::VerifyProxy(window.list(), window.totals(), proxy);
    });
}

// Between tries at a busy clipboard the window goes on answering.
actions::ClipboardPause clipboardPause(MainWindow& window) {
    return [&window](int milliseconds) { WaitResponsive(window, milliseconds); };
}

// ListMenu at a screen point, tracking the right button and owned by the
// window; the chosen item's handler runs after the menu has closed.
void popUpListMenu(MainWindow& window, POINT at) {
    HWND main = window.hwnd();
    if (main == nullptr || window.listMenu() == nullptr) return;
    const auto chosen = static_cast<UINT>(
        TrackPopupMenu(window.listMenu(), TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD,
                       at.x, at.y, 0, main, nullptr));
    window.bindings().listMenuClosed(chosen);
}

}  // namespace

// Each click runs its own worker; nothing stops two from running at once.
void StartExtraction(MainWindow& window) {
    window.workers().start([&window] {
        extract::ExtractionWorker(window.list(), window.extractionForm(), window.prompts());
    });
}

// Just below and right of the cursor, whether or not a row is selected.
void ShowListMenu(MainWindow& window) {
    POINT cursor{0, 0};
    GetCursorPos(&cursor);
    const int offset = window.scale()(kListMenuCursorOffset);
    popUpListMenu(window, {cursor.x + offset, cursor.y + offset});
}

// The same menu, opened by the menu key or Shift+F10: beside the focused row,
// which its items then act on.
void ShowListMenuFromKeyboard(MainWindow& window) {
    popUpListMenu(window, window.listView().keyboardMenuPoint());
}

void OpenServiceLink(MainWindow&) { actions::openLink(actions::Link::Service); }
void OpenForumLink(MainWindow&) { actions::openLink(actions::Link::Forum); }
void OpenMainSiteLink(MainWindow&) { actions::openLink(actions::Link::MainSite); }

void ScrollNotice(MainWindow& window) { moveNoticeOneStep(window.notice()); }

void TrimWorkingSet(MainWindow&) { actions::shrinkWorkingSet(); }

void ClearInvalid(MainWindow& window) { actions::removeFailedRows(window.list()); }

void ClearAll(MainWindow& window) { actions::removeAllRows(window.list()); }

void CopyProxy(MainWindow& window) {
    const std::optional<std::string> text = actions::proxyTextToCopy(window.list(), window.prompts());
    if (text && !actions::setClipboardText(*text, clipboardPause(window))) {
        window.prompts().inform(actions::clipboardBusyMessage());
    }
}

void PasteProxy(MainWindow& window) {
    if (const std::optional<std::string> text = actions::clipboardText(clipboardPause(window))) {
        actions::pasteProxyText(window.list(), window.prompts(), *text);
    } else {
        window.prompts().inform(actions::clipboardBusyMessage());
    }
}

void ImportProxies(MainWindow& window) {
    actions::importProxyFile(window.list(), window.fileDialogs(), window.prompts(), actions::openFileForReading,
                             [&window](std::function<void()> read) { window.workers().start(std::move(read)); });
}

void ExportProxies(MainWindow& window) {
    actions::exportProxyFile(window.list(), window.fileDialogs(), window.prompts(),
                             actions::writeFileBytes);
}

void SetSystemProxy(MainWindow& window) {
    actions::switchSystemProxyOn(window.list(), window.prompts(),
                                 [&window](int milliseconds) { WaitResponsive(window, milliseconds); });
}

void CancelSystemProxy(MainWindow&) { actions::switchSystemProxyOff(); }

void VerifySelected(MainWindow& window) {
    verify::verifySelectedRow(window.list(), window.prompts(),
                              [&window](int row) { startVerifyProxy(window, row); });
}

void VerifyAll(MainWindow& window) {
    verify::runVerifyAll(window.list(), window.verifyAllRunning(),
                         {.startWorker = [&window](int row) { startVerifyProxy(window, row); },
                          .wait =
                              [&window](unsigned ms) {
                                  WaitResponsive(window, ms);
                                  return window.windowOpen();
                              }});
}

void StopVerify(MainWindow& window) { verify::endVerifyAll(window.verifyAllRunning()); }

void StartOwnIpCheck(MainWindow& window) { window.workers().start(verify::CheckOwnIp); }

}  // namespace velmora::ui

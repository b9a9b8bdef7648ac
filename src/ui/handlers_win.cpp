#include "ui/handlers.h"

#include <windows.h>

#include <optional>
#include <string>

#include "actions/clipboard_actions.h"
#include "actions/clipboard_win.h"
#include "actions/file_io_win.h"
#include "actions/import_export.h"
#include "actions/list_actions.h"
#include "actions/notice_scroll.h"
#include "actions/open_link_win.h"
#include "actions/system_proxy_win.h"
#include "actions/working_set_win.h"
#include "extract/extraction.h"
#include "ui/main_window_win.h"
#include "verify/verify_all.h"
#include "verify/verify_win.h"

namespace velmora::ui {

namespace {

// Runs on the window thread, so the row is read as the user sees it at the
// moment the verification starts.
void startVerifyProxy(MainWindow& window, int row) {
    if (!window.windowOpen()) return;
    window.workers().start([&window, proxy = verify::proxyAt(window.controls(), row)] {
        // Started just before the window went: the program is ending, and no
        // request may leave after its window is gone.
        if (!window.windowOpen()) return;
        verify::VerifyProxy(window.controls(), proxy);
    });
}

}  // namespace

// Each click runs its own worker; nothing stops two from running at once.
void StartExtraction(MainWindow& window) {
    window.workers().start([&window] { extract::ExtractionWorker(window.controls()); });
}

void ShowListMenu(MainWindow& window) {
    POINT cursor{0, 0};
    GetCursorPos(&cursor);
    actions::showListMenuNear(window.controls(), cursor.x, cursor.y);
}

// The same menu, opened by the menu key or Shift+F10: beside the focused row,
// which its items then act on.
void ShowListMenuFromKeyboard(MainWindow& window) {
    const POINT at = window.listView().keyboardMenuPoint();
    window.controls().popupListMenu(at.x, at.y);
}

void OpenServiceLink(MainWindow&) { actions::openLink(actions::Link::Service); }
void OpenForumLink(MainWindow&) { actions::openLink(actions::Link::Forum); }
void OpenMainSiteLink(MainWindow&) { actions::openLink(actions::Link::MainSite); }

void ScrollNotice(MainWindow& window) { actions::moveNoticeOneStep(window.controls()); }

void TrimWorkingSet(MainWindow&) { actions::shrinkWorkingSet(); }

void ClearInvalid(MainWindow& window) { actions::removeFailedRows(window.controls()); }

void ClearAll(MainWindow& window) { actions::removeAllRows(window.controls()); }

void CopyProxy(MainWindow& window) {
    if (const std::optional<std::string> text = actions::proxyTextToCopy(window.controls())) {
        actions::setClipboardText(*text);
    }
}

void PasteProxy(MainWindow& window) {
    actions::pasteProxyText(window.controls(), actions::clipboardText());
}

void ImportProxies(MainWindow& window) {
    actions::importProxyFile(window.controls(), actions::openFileForReading);
}

void ExportProxies(MainWindow& window) {
    actions::exportProxyFile(window.controls(), actions::writeFileBytes);
}

void SetSystemProxy(MainWindow& window) {
    actions::switchSystemProxyOn(window.controls(), window);
}

void CancelSystemProxy(MainWindow&) { actions::switchSystemProxyOff(); }

void VerifySelected(MainWindow& window) {
    verify::verifySelectedRow(window.controls(),
                              [&window](int row) { startVerifyProxy(window, row); });
}

void VerifyAll(MainWindow& window) {
    verify::runVerifyAll(window.controls(), window.verifyAllRunning(),
                         {.startWorker = [&window](int row) { startVerifyProxy(window, row); },
                          .processPending = [&window] { window.processPending(); },
                          .sleep = [](unsigned ms) { ::Sleep(ms); },
                          .windowOpen = [&window] { return window.windowOpen(); }});
}

void StopVerify(MainWindow& window) { verify::endVerifyAll(window.verifyAllRunning()); }

void StartOwnIpCheck(MainWindow& window) { window.workers().start(verify::CheckOwnIp); }

}  // namespace velmora::ui

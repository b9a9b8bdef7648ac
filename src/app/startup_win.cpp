#include "app/startup_win.h"

#include <commctrl.h>

#include <string>

#include "app/skin_loader_win.h"
#include "ui/handlers.h"
#include "ui/ids.h"
#include "util/start_captions.h"
#include "util/wide.h"

namespace velmora::app {

namespace {

// The title, ShareNoticeLabel, NoticeLabel and status panel 1 get their
// deciphered captions, in this order.
void applyStartCaptions(ui::MainWindow& window) {
    const auto captions = decodeStartCaptions();
    SetWindowTextW(window.hwnd(), toWide(captions[0]).c_str());
    SetWindowTextW(window.control(ui::kShareNoticeLabel), toWide(captions[1]).c_str());
    SetWindowTextW(window.control(ui::kNoticeLabel), toWide(captions[2]).c_str());
    const std::wstring status = toWide(captions[3]);
    SendMessageW(window.control(ui::kStatusBar), SB_SETTEXTW, 1,
                 reinterpret_cast<LPARAM>(status.c_str()));
}

}  // namespace

void InitMainWindow(ui::MainWindow& window) {
    LoadSkin();
    applyStartCaptions(window);
}

void AfterFirstPaint(ui::MainWindow& window) {
    if (window.windowOpen()) ui::StartOwnIpCheck(window);
}

}  // namespace velmora::app

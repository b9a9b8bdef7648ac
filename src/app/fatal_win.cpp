#include "app/fatal.h"

#include <windows.h>

#include <atomic>
#include <string>

#include "ui/wide.h"
#include "util/text.h"

namespace velmora::app {

namespace {

std::atomic<bool> gShowing{false};

}  // namespace

void fatalError(std::string_view message, std::optional<long> code) {
    // One message is enough: a second fatal error, on another thread or in a
    // handler run while the first box is up, waits for the user to close the
    // first one, which ends the process.
    if (gShowing.exchange(true)) {
        for (;;) Sleep(INFINITE);
    }
    std::string text = "运行时出错!\r\n\r\n";
    if (code) {
        text += "错误代码：";
        text += text::fromInt(*code);
        text += "\r\n\r\n";
    }
    text += "错误信息：";
    text += message;
    text += "\r\n";
    MessageBoxW(nullptr, ui::toWide(text).c_str(), ui::toWide("错误").c_str(),
                MB_OK | MB_ICONERROR | MB_TASKMODAL);
    // The exit clean-up must not run after a fatal error.
    ExitProcess(static_cast<UINT>(-1));
}

}  // namespace velmora::app

#include "util/fatal.h"

#include <windows.h>

#include <atomic>
#include <string>

#include "util/text.h"
#include "util/wide.h"

namespace velmora {

namespace {

std::atomic<bool> gShowing{false};

}  // namespace

void fatalError(std::string_view message, std::optional<long> code) {
    // One message is enough, and a second fatal error ends the process at
    // once. It must not wait for the first box: raised in a handler that the
    // box's own message loop runs (a timer tick), waiting would stop that
    // loop and leave the box unable to answer.
    if (gShowing.exchange(true)) ExitProcess(static_cast<UINT>(-1));
    std::string text = "运行时出错!\r\n\r\n";
    if (code) {
        text += "错误代码：";
        text += text::fromInt(*code);
        text += "\r\n\r\n";
    }
    text += "错误信息：";
    text += message;
    text += "\r\n";
    MessageBoxW(nullptr, toWide(text).c_str(), toWide("错误").c_str(),
                MB_OK | MB_ICONERROR | MB_TASKMODAL);
    // The exit clean-up must not run after a fatal error.
    ExitProcess(static_cast<UINT>(-1));
}

}  // namespace velmora

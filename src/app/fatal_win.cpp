#include "app/fatal.h"

#include <windows.h>

#include <string>

#include "ui/wide.h"
#include "util/text.h"

namespace velmora::app {

void fatalError(std::string_view message, std::optional<long> code) {
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

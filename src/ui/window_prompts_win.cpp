#include "ui/window_prompts_win.h"

#include <windows.h>

#include "util/wide.h"

namespace velmora::ui {

namespace {

void show(std::string_view text, UINT icon) {
    MessageBoxW(nullptr, toWide(text).c_str(), toWide("信息：").c_str(), MB_OK | MB_TASKMODAL | icon);
}

}  // namespace

void WindowPrompts::inform(std::string_view text) { show(text, 0); }

void WindowPrompts::warn(std::string_view text) { show(text, MB_ICONEXCLAMATION); }

}  // namespace velmora::ui

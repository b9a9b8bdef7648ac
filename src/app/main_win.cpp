// Program entry: prepare the process, load the main window, run the message
// loop, end.
#include <windows.h>
#include <ole2.h>

#include <string>

#include "actions/system_proxy_exit.h"
#include "app/exit_cleanup.h"
#include "app/fatal.h"
#include "ui/handlers.h"
#include "ui/main_window_win.h"

namespace {

// The skin files are written into the current directory, so it must be the
// program's folder whatever folder the program was started from.
void enterProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return;
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return;
    path.resize(slash == 2 && path[1] == L':' ? slash + 1 : slash);
    SetCurrentDirectoryW(path.c_str());
}

int run(HINSTANCE instance) {
    OleInitialize(nullptr);
    enterProgramFolder();
    velmora::app::registerExitCleanup(velmora::ExitCleanup);
    velmora::actions::InstallCrashProxyReset();

    if (!velmora::ui::createMainWindow(instance)) {
        velmora::app::fatalError("载入启动窗口失败");
    }
    velmora::ui::runMessageLoop();
    velmora::app::runExitCleanup();
    // Workers still running end with the process; nothing waits for them.
    ExitProcess(0);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    try {
        return run(instance);
    } catch (...) {
        velmora::app::fatalError("程序发生未处理的错误");
    }
}

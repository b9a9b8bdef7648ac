// Program entry: prepare the process, load the main window, run the message
// loop, end.
#include <windows.h>

#include <string>

#include "actions/system_proxy_exit.h"
#include "app/exit_cleanup.h"
#include "app/program_folder.h"
#include "ui/handlers.h"
#include "ui/main_window_win.h"
#include "util/fatal.h"
#include "util/system_library_win.h"
#include "util/unique_handle_win.h"

namespace {

// The skin files are written into the current directory, so it must be the
// program's folder whatever folder the program was started from.
void enterProgramFolder() {
    std::wstring folder = velmora::app::programFolder();
    if (folder.empty()) return;
    // A drive's root folder needs its separator: "C:" alone would mean that
    // drive's current folder.
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
    SetCurrentDirectoryW(folder.c_str());
}

int run(HINSTANCE instance) {
    // Before anything loads a library, the system's own loads included.
    velmora::restrictLibrarySearch();
    // Never undone on the way out: the process ends below without unwinding.
    const velmora::OleScope ole;
    enterProgramFolder();
    velmora::app::registerExitCleanup(velmora::ExitCleanup);
    velmora::actions::InstallCrashProxyReset();

    if (!velmora::ui::createMainWindow(instance)) {
        velmora::fatalError("载入启动窗口失败");
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
        velmora::fatalError("程序发生未处理的错误");
    }
}

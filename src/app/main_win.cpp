// Program entry: prepare the process, load the main window, run the message
// loop, end.
#include <windows.h>

#include <string>

#include "actions/system_proxy_exit.h"
#include "app/exit_cleanup.h"
#include "app/program_folder.h"
#include "app/startup_win.h"
#include "util/fatal.h"
#include "util/system_library_win.h"
#include "ui/main_window_win.h"
#include "verify/verify_win.h"

namespace {

// How long the end of the program waits for the window's workers; a request
// still running after that ends with the process.
constexpr unsigned kWorkerGraceMs = 100;

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
    enterProgramFolder();
    velmora::app::registerExitCleanup(velmora::verify::ExitCleanup);
    velmora::actions::InstallCrashProxyReset();

    // Workers may still use the window's controls after the window is gone,
    // so the window object lives until the process ends.
    static velmora::ui::MainWindow window;
    if (!window.create(instance, velmora::app::InitMainWindow)) {
        velmora::fatalError("载入启动窗口失败");
    }
    velmora::app::AfterFirstPaint(window);
    window.runMessageLoop();
    window.workers().waitForAll(kWorkerGraceMs);
    velmora::app::runExitCleanup();
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

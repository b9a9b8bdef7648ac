// The main window: created from the layout tables, one window procedure that
// routes each message to a named handler, and the message loop. The object
// owns what belongs to the window: its controls, the list menu, the rows and
// their view, what the layers below are given of the window, the verify-all
// state and the workers it started.
#pragma once

#include <windows.h>

#include <atomic>
#include <map>

#include "ui/file_dialogs_win.h"
#include "ui/input_bindings_win.h"
#include "ui/proxy_list_view_win.h"
#include "ui/raw_result_feeder_win.h"
#include "ui/wait_responsive_win.h"
#include "ui/window_fields_win.h"
#include "ui/window_list_win.h"
#include "ui/window_prompts_win.h"
#include "ui/window_tasks_win.h"
#include "ui/workers_win.h"
#include "util/dpi_scale.h"
#include "util/unique_handle_win.h"

namespace velmora::ui {

// Posted when the list view is due to learn of changed rows. Harmless from
// anyone: the list view then only checks whether a step is due.
inline constexpr UINT kSyncProxyList = WM_APP + 2;

// WM_GETDPISCALEDSIZE (Windows 10, version 1703), which the SDK declares
// only for newer targets than ours.
inline constexpr UINT kGetDpiScaledSize = 0x02E4;

// Workers may still use the object after the window is gone, so it must live
// until the process ends.
class MainWindow final : public EventPump {
public:
    // The created event: runs once the controls exist, before the window is
    // shown.
    using CreatedEvent = void (*)(MainWindow& window);

    MainWindow() = default;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window and its controls, starts the timers, runs `created`
    // and shows the window. False when it cannot be created.
    bool create(HINSTANCE instance, CreatedEvent created);

    // Runs until the window is gone; returns the code of WM_QUIT.
    int runMessageLoop();

    // Processes the window messages that are pending and returns (window
    // thread only). Lets long loops on the window thread keep the window
    // responsive; it is the one message pump, so the bindings hold there
    // too.
    void processPending() override;
    // False before the window is made and once it is gone. Loops on the
    // window thread end when it is gone.
    bool windowOpen() override { return hwnd_.load() != nullptr; }

    // Null before the window exists and after it is destroyed.
    HWND hwnd() const { return hwnd_.load(); }
    // A control by id, or null (also once the window is gone).
    HWND control(int id) const;
    HMENU listMenu() const { return listMenu_; }
    InputBindings& bindings() { return bindings_; }
    // The window's DPI, as the window thread last laid it out: pixel counts
    // of the 96-DPI design go through it.
    DpiScale scale() const { return scale_; }

    // What the layers below are given of the window. Callable from any
    // thread, before the window exists and after it is gone.
    WindowProxyList& list() { return list_; }
    WindowPrompts& prompts() { return prompts_; }
    WindowExtractionForm& extractionForm() { return extractionForm_; }
    WindowTotals& totals() { return totals_; }
    WindowNotice& notice() { return notice_; }
    WindowFileDialogs& fileDialogs() { return fileDialogs_; }

    // Window thread: ProxyList's rows and the list view that shows them;
    // RawResultEdit's feed.
    ProxyListView& listView() { return proxyListView_; }
    RawResultFeeder& resultFeeder() { return rawResultFeeder_; }
    // Work that other threads hand to the window thread.
    WindowTasks& tasks() { return tasks_; }
    // Whether a "验证全部" pass goes on. Read and written on the window thread
    // only: by a pass, by "停止验证" and by passes nested in a pass.
    bool& verifyAllRunning() { return verifyAllRunning_; }
    WindowWorkers& workers() { return workers_; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void dispatchOne(MSG& msg);
    LRESULT onNotify(NMHDR* header);
    void onTimer(WPARAM timerId);
    bool onContextMenu(HWND from, LPARAM lParam);
    void onDpiChanged(HWND window, int dpi, const RECT& suggested);
    SIZE outerSizeAt(DpiScale scale) const;
    void onDestroy(HWND window);
    // The default GUI font at the window's DPI, made anew when it differs
    // from the system's stock font; the one it replaces is returned, to be
    // deleted once no control uses it.
    FontHandle makeFont();
    void loadIcons(HINSTANCE instance);

    std::atomic<HWND> hwnd_{nullptr};
    HINSTANCE instance_ = nullptr;
    // Written only while the window is being created, read on its thread.
    std::map<int, HWND> controlWindows_;
    DpiScale scale_;
    HFONT font_ = nullptr;  // in every control: the stock font or ownFont_
    FontHandle ownFont_;
    IconHandle bigIcon_;
    IconHandle smallIcon_;
    HMENU listMenu_ = nullptr;
    InputBindings bindings_{*this};
    ProxyListView proxyListView_;
    RawResultFeeder rawResultFeeder_;
    WindowTasks tasks_;
    WindowProxyList list_{*this};
    WindowPrompts prompts_;
    WindowExtractionForm extractionForm_{*this};
    WindowTotals totals_{*this};
    WindowNotice notice_{*this};
    WindowFileDialogs fileDialogs_{*this};
    bool verifyAllRunning_ = false;
    // A worker's box blocks only that worker.
    WindowWorkers workers_{[] { WindowPrompts().warn("程序资源不足，有一项操作没有完成。"); }};
};

}  // namespace velmora::ui

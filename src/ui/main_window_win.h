// The main window: created from the layout tables, one window procedure that
// routes each message to a named handler, and the message loop. The object
// owns what belongs to the window: its controls, the list menu, the rows and
// their view, the file dialogs, the verify-all state and the workers it
// started.
#pragma once

#include <windows.h>

#include <atomic>
#include <map>
#include <memory>

#include "actions/wait_responsive_win.h"
#include "ui/proxy_list_view_win.h"
#include "ui/raw_result_feeder_win.h"
#include "ui/window_controls_win.h"
#include "ui/window_tasks_win.h"
#include "ui/workers_win.h"

namespace velmora::ui {

// Posted when the list view is due to learn of changed rows. Harmless from
// anyone: the list view then only checks whether a step is due.
inline constexpr UINT kSyncProxyList = WM_APP + 2;

// Workers may still use the object after the window is gone, so it must live
// until the process ends.
class MainWindow final : public actions::EventPump {
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
    // responsive.
    void processPending() override;
    // False before the window is made and once it is gone. Loops on the
    // window thread end when it is gone.
    bool windowOpen() override { return hwnd_.load() != nullptr; }

    // Null before the window exists and after it is destroyed.
    HWND hwnd() const { return hwnd_.load(); }
    // A control by id, or null (also once the window is gone).
    HWND control(int id) const;
    HMENU listMenu() const { return listMenu_; }

    // ListMenu closed with the item `command` chosen (0: none). The item's
    // handler runs once the messages waiting now are handled.
    void listMenuClosed(UINT command);

    // Callable from any thread, before the window exists and after it is gone.
    ControlOperations& controls() { return *controls_; }
    // ProxyList's rows and the list view that shows them; RawResultEdit's feed.
    ProxyListView& listView() { return proxyListView_; }
    RawResultFeeder& resultFeeder() { return rawResultFeeder_; }
    // Whether a "验证全部" pass goes on. Read and written on the window thread
    // only: by a pass, by "停止验证" and by passes nested in a pass.
    bool& verifyAllRunning() { return verifyAllRunning_; }
    WindowWorkers& workers() { return workers_; }
    // Work that other threads hand to the window thread.
    WindowTasks& tasks() { return tasks_; }

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;
    static LRESULT CALLBACK groupBoxProc(HWND window, UINT message, WPARAM wParam,
                                         LPARAM lParam, UINT_PTR, DWORD_PTR self) noexcept;
    LRESULT handleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool createControls(HWND main, HINSTANCE instance);
    HWND createdControl(int id) const;
    void dispatchOne(MSG& msg);
    void raiseButtonEvents(const MSG& msg);
    bool raiseMenuKeyEvent(const MSG& msg);
    LRESULT onNotify(NMHDR* header);
    void onTimer(WPARAM timerId);
    bool onContextMenu(HWND from, LPARAM lParam);
    void onClose(HWND window);
    void onDestroy(HWND window);

    std::atomic<HWND> hwnd_{nullptr};
    DWORD thread_ = 0;
    // Written only while the window is being created, read on its thread.
    std::map<int, HWND> controlWindows_;
    HMENU listMenu_ = nullptr;
    ProxyListView proxyListView_;
    RawResultFeeder rawResultFeeder_;
    const std::unique_ptr<ControlOperations> controls_ = makeWindowControls(*this);
    // The right-button press that opened ListMenu, while the menu is open.
    MSG menuPress_{};
    bool verifyAllRunning_ = false;
    WindowWorkers workers_;
    WindowTasks tasks_;
};

}  // namespace velmora::ui

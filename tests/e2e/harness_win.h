// Drives the real Velmora.exe from another process, as a user does and as a
// user's tools would: start it, find its window and controls by their ids,
// click, right-click and type with real input, choose items of its menu,
// read texts, list cells and status panels, answer message boxes, close it.
#pragma once

#include <windows.h>

#include <chrono>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;

// The program under test, as built.
std::filesystem::path builtProgram();
// A path of the build (a Unix path) as this Windows process sees it.
std::filesystem::path fromBuildPath(const char* unixPath);

// A fresh, empty folder for one test (removed again by the destructor).
class TempFolder {
public:
    explicit TempFolder(const std::wstring& name);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Copies the built program into `folder` and returns the copy's path.
std::filesystem::path installProgram(const std::filesystem::path& folder);

struct MessageBoxSeen {
    std::wstring title;
    std::wstring text;
};

class App {
public:
    // Starts `program` (the built one when empty) with `workingFolder` as its
    // current directory and waits for its main window.
    explicit App(std::filesystem::path program = {}, std::filesystem::path workingFolder = {});
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    bool started() const { return window_ != nullptr; }
    HWND window() const { return window_; }
    DWORD processId() const { return process_.dwProcessId; }
    HANDLE process() const { return process_.hProcess; }

    HWND control(int id) const;
    std::wstring text(HWND window) const;
    std::wstring text(int id) const { return text(control(id)); }
    void setText(int id, const std::wstring& value) const;

    // ProxyList, read across the process boundary.
    int rowCount() const;
    std::wstring cell(int row, int column) const;
    int selectedRow() const;
    void selectRow(int row) const;
    std::wstring columnCaption(int column) const;
    int columnWidth(int column) const;
    int columnFormat(int column) const;
    std::vector<std::vector<std::wstring>> rows() const;

    std::wstring statusText(int panel) const;
    std::vector<int> statusEdges() const;

    // Text measured in the program's own font, at its DPI: the width a text
    // takes in the list's font (the one every control of the window has)
    // and the height of a line in an edit box.
    int textWidth(const std::wstring& text) const;
    int lineHeight(int editId) const;

    // What the system does when the window reaches a monitor at `dpi`:
    // asks it for its size there (WM_GETDPISCALEDSIZE) and sends it
    // WM_DPICHANGED with a rectangle of that size at its place. False when
    // the window does not answer.
    bool changeDpi(int dpi) const;

    std::vector<std::wstring> comboItems(int id) const;

    // Runs a ListMenu item's command by message, bypassing mouse and menu:
    // for setting up a case only, never for the step under test.
    void command(int id) const;

    // Real input (SendInput), to the program's window brought to the front.
    // A left click in the middle of a control.
    void clickButton(int id) const;
    // A click on a row of the list (left or right button), or on the list's
    // empty part below its last row.
    void clickRow(int row) const;
    void rightClickRow(int row) const;
    void rightClickBelowRows() const;
    // Key presses: each virtual key goes down and up, with the modifiers
    // held around it.
    void pressKey(WORD key, std::initializer_list<WORD> modifiers = {}) const;
    // The close box of the title bar, where the window's own hit test puts
    // it (the skin draws the frame); {0, 0} when there is none.
    POINT closeBox() const;
    // A left click on it.
    bool clickCloseBox() const;
    // A row's place on the screen.
    RECT rowRect(int row) const;
    static void leftClickAt(POINT screen);

    // The program's open pop-up menu, or null once `timeout` has passed.
    HWND openMenu(std::chrono::milliseconds timeout = 5s) const;
    // In the open ListMenu, the item `id` chosen with a left click on it
    // (false when no menu is open or the item cannot be found).
    bool clickMenuItem(int id) const;
    // In the open ListMenu, the item `id` reached with the arrow keys and
    // chosen with Enter.
    bool chooseMenuItemByKeys(int id) const;
    // Right-click on `row` (or below the rows when `row` is negative), then
    // a click on the menu item `id`: what a person does.
    bool useListMenu(int row, int id) const;

    // Waits until `condition` holds, processing nothing of our own.
    template <typename F>
    bool waitFor(F&& condition, std::chrono::milliseconds timeout = 10s) const {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (std::chrono::steady_clock::now() < end) {
            if (condition()) return true;
            Sleep(50);
        }
        return condition();
    }

    // A message box of the program: read it and press its OK button, or the
    // button `button` (IDYES, IDNO, ...) of a box that asks.
    std::optional<MessageBoxSeen> answerMessageBox(std::chrono::milliseconds timeout = 10s,
                                                   int button = IDOK) const;
    // Any top-level dialog window of the program other than the main window.
    HWND findDialog(std::chrono::milliseconds timeout = 10s) const;

    // Types a path into the program's open or save dialog and confirms it.
    bool answerFileDialog(const std::filesystem::path& file) const;
    // Fills the list through "导入代理" and the real open dialog with a file
    // of `content` written into `folder`; waits until the rows are there.
    bool importProxies(const std::filesystem::path& folder, const std::string& content) const;

    // Sends a close request the way the close box does and waits for the end.
    std::optional<DWORD> closeAndWait(std::chrono::milliseconds timeout = 15s);
    std::optional<DWORD> waitExit(std::chrono::milliseconds timeout = 15s);

    // Saves a picture of the program's window into the artifacts folder.
    void screenshot(const std::wstring& name) const;

private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
    bool ended_ = false;
};

void writeFile(const std::filesystem::path& path, const std::string& bytes);
std::string readFile(const std::filesystem::path& path);

// A plain request to a local test service (its control endpoints); returns
// the body, or nullopt when the request failed.
std::optional<std::string> httpRequest(const std::wstring& verb, const std::wstring& host,
                                       int port, const std::wstring& path,
                                       const std::string& body = {});

// Saves a picture of the whole screen into the artifacts folder.
void screenshotScreen(const std::wstring& name);

std::wstring className(HWND window);
RECT rectInParent(HWND window);

}  // namespace e2e

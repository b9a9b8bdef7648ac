// Figures of the real window under Wine, with the skin: the start against a
// bare window's, extractions of 10,000 and 100,000 proxies, a service that
// floods the answer with proxies, an import of 10,000 rows, "清除无效" (clear
// invalid) on 10,000 rows of which half failed, "清除全部" (clear all), a
// verify-all pass over 10,000 rows and an import of a 1 GiB file. For each:
// how long it took, and the longest the window took to answer a message
// meanwhile (a thread of this program asks it every 10 ms).
// Needs the local services (tests/servers/services.sh start).
//
// Usage: window_bench [rows] [many-rows] [program]
// (defaults 10000, 100000 and the program of this build)
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <optional>
#include <thread>
#include <vector>

#include "harness_win.h"
#include "ui/ids.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using namespace velmora::ui;

// The program under measure: this build's, or another one named on the
// command line (an earlier build, for figures before and after a change).
std::filesystem::path gProgram;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Asks the window for a reply every 10 ms from a thread of its own and keeps
// the longest wait since the last reset.
class ResponseWatch {
public:
    explicit ResponseWatch(HWND window)
        : thread_([this, window] {
              while (!stop_) {
                  const auto start = Clock::now();
                  DWORD_PTR result = 0;
                  SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
                  const double ms = msSince(start);
                  double seen = worst_.load();
                  while (ms > seen && !worst_.compare_exchange_weak(seen, ms)) {
                  }
                  if (std::getenv("VELMORA_BENCH_TRACE") && ms > 30) {
                      std::printf("    slow answer: %.1f ms, %.0f ms in\n", ms, msSince(born_));
                  }
                  Sleep(10);
              }
          }) {}
    ~ResponseWatch() {
        stop_ = true;
        thread_.join();
    }
    double takeWorst() { return worst_.exchange(0); }

private:
    const Clock::time_point born_ = Clock::now();
    std::atomic<bool> stop_{false};
    std::atomic<double> worst_{0};
    std::thread thread_;
};

double peakMemoryMiB(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return -1;
    return static_cast<double>(counters.PeakPagefileUsage) / (1024.0 * 1024.0);
}

bool serviceMode(const char* mode) {
    return e2e::httpRequest(L"POST", L"127.0.0.1", 18186, L"/_mode", mode).has_value();
}

// A command run to its end: sent, not posted, so it returns once the
// handler has.
void runCommand(const e2e::App& app, int id) {
    SendMessageW(app.window(), WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

// "提取代理" as the button reports a click: the clock starts with the click
// itself, not with the mouse's way to the button.
void clickExtract(const e2e::App& app) {
    HWND button = app.control(kExtractButton);
    PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(kExtractButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

// The program's own start (first paints, its start-up request) is not part
// of any measure: each begins once the window waits for input.
void settle(const e2e::App& app) {
    WaitForInputIdle(app.process(), 5000);
    Sleep(200);
}

void report(const char* what, double ms, double worstResponse) {
    std::printf("%-58s %8.0f ms   window answered within %6.1f ms\n", what, ms, worstResponse);
}

// The service's own answer to the form the program sends for `rows`, timed
// from this process once the service has made the page: what of an
// extraction's figure is not the program's.
double serviceAnswerMs(int rows) {
    const std::string form = "tqsl=" + std::to_string(rows) + "&sxb=&ktip=&ports%5B%5D=&sxa=&submit=%CC%E1%C8%A1";
    e2e::httpRequest(L"POST", L"127.0.0.1", 18186, L"/Qrovanext7.php", form);
    const auto asked = Clock::now();
    e2e::httpRequest(L"POST", L"127.0.0.1", 18186, L"/Qrovanext7.php", form);
    return msSince(asked);
}

void extraction(int rows) {
    e2e::httpRequest(L"POST", L"127.0.0.1", 18186, L"/_reset");
    const double serviceMs = serviceAnswerMs(rows);
    e2e::App app(gProgram);
    if (!app.started()) {
        std::printf("extraction: the program did not start\n");
        return;
    }
    app.setText(kCountEdit, std::to_wstring(rows));
    settle(app);
    ResponseWatch watch(app.window());
    const auto start = Clock::now();
    clickExtract(app);
    app.waitFor([&] {
        if (std::getenv("VELMORA_BENCH_TRACE")) std::printf("  %.0f ms: %d rows\n", msSince(start), app.rowCount());
        return app.rowCount() >= rows;
    }, 120s);
    const double ms = msSince(start);
    const std::string what = "extraction of " + std::to_string(app.rowCount()) + " rows, click to last row shown";
    report(what.c_str(), ms, watch.takeWorst());
    std::printf("%-58s %8.0f ms\n", "  the service's own answer to the same form", serviceMs);
    std::printf("%-58s %8.1f MiB\n", "  peak memory of the process", peakMemoryMiB(app.process()));
    app.closeAndWait();
}

void flood() {
    e2e::httpRequest(L"POST", L"127.0.0.1", 18186, L"/_reset");
    e2e::App app(gProgram);
    if (!app.started() || !serviceMode("proxy-flood")) {
        std::printf("flood: the program or the service did not start\n");
        return;
    }
    settle(app);
    ResponseWatch watch(app.window());
    const auto start = Clock::now();
    clickExtract(app);
    const auto box = app.answerMessageBox(120s);
    const double ms = msSince(start);
    const std::string what = "flooding answer, click to the message after " +
                             std::to_string(app.rowCount()) + " rows";
    report(what.c_str(), ms, watch.takeWorst());
    if (!box) std::printf("  no message came\n");
    std::printf("%-58s %8.1f MiB\n", "  peak memory of the process", peakMemoryMiB(app.process()));
    app.closeAndWait();
}

void listActions(int rows) {
    e2e::TempFolder folder(L"bench-list");
    e2e::App app(gProgram);
    if (!app.started()) {
        std::printf("list actions: the program did not start\n");
        return;
    }
    // Every other row through a port where nothing listens, so that half
    // of them fail their verification.
    std::string lines;
    for (int i = 0; i < rows; ++i) lines += i % 2 ? "127.0.0.1:18190\r\n" : "127.0.0.1:18199\r\n";
    const auto file = folder.path() / L"proxies.txt";
    e2e::writeFile(file, lines);

    ResponseWatch watch(app.window());
    app.command(kMenuImport);
    HWND dialog = app.findDialog(15s);
    const auto start = Clock::now();
    if (dialog == nullptr || !app.answerFileDialog(file)) {
        std::printf("import: the dialog did not come\n");
        return;
    }
    watch.takeWorst();  // the dialog's own time is not ours
    app.waitFor([&] { return app.rowCount() == rows; }, 60s);
    report(("import of " + std::to_string(app.rowCount()) + " rows, confirm to last row shown").c_str(),
           msSince(start), watch.takeWorst());

    for (int row = 0; row < rows; row += 2) {
        app.selectRow(row);
        runCommand(app, kMenuVerifySelected);
    }
    const std::wstring failed = std::to_wstring(rows / 2) + L"个IP";
    if (!app.waitFor([&] { return app.text(kFailureTotalLabel) == failed; }, 300s)) {
        std::printf("clear invalid: the verifications did not all fail in time\n");
        return;
    }
    Sleep(500);
    watch.takeWorst();
    auto timed = Clock::now();
    runCommand(app, kMenuClearInvalid);
    app.waitFor([&] { return app.rowCount() == rows - rows / 2; }, 60s);
    report(("clear invalid on " + std::to_string(rows) + " rows, half failed, renumbered").c_str(),
           msSince(timed), watch.takeWorst());
    if (app.cell(0, 0) != L"1" || app.cell(app.rowCount() - 1, 0) != std::to_wstring(app.rowCount())) {
        std::printf("  the rows were not renumbered\n");
    }

    timed = Clock::now();
    runCommand(app, kMenuClearAll);
    app.waitFor([&] { return app.rowCount() == 0; }, 60s);
    report("clear all", msSince(timed), watch.takeWorst());
    app.closeAndWait();
}

BOOL CALLBACK findVisible(HWND window, LPARAM found) {
    if (!IsWindowVisible(window) || GetParent(window) != nullptr) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

struct StartTimes {
    double visible = -1;   // the first visible window of its main thread
    double answering = -1; // that window painted and answering messages
};

// From the creation of the process to its first visible window, and on to
// that window answering a message (its first paint done, its message loop
// running), in ms; -1 when none came. The process is closed again.
StartTimes startToFirstWindow(const std::filesystem::path& program) {
    std::wstring commandLine = L"\"" + program.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const auto start = Clock::now();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        program.parent_path().c_str(), &startup, &process)) {
        return {};
    }
    StartTimes times;
    HWND window = nullptr;
    while (msSince(start) < 10000) {
        EnumThreadWindows(process.dwThreadId, findVisible, reinterpret_cast<LPARAM>(&window));
        if (window != nullptr) {
            times.visible = msSince(start);
            DWORD_PTR result = 0;
            if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result)) {
                times.answering = msSince(start);
            }
            break;
        }
        Sleep(1);
    }
    if (window != nullptr) PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return times;
}

void reportStart(const char* what, std::vector<double> ours, std::vector<double> bares) {
    std::sort(ours.begin(), ours.end());
    std::sort(bares.begin(), bares.end());
    const double ourMedian = ours[ours.size() / 2];
    const double bareMedian = bares[bares.size() / 2];
    std::printf("%-58s %8.0f ms   minimum %.0f ms\n", what, ourMedian, ours.front());
    std::printf("%-58s %8.0f ms   minimum %.0f ms\n", "  a bare window, median", bareMedian, bares.front());
    std::printf("%-58s %8.2f x    minimum %.2f x\n", "  the program against the bare window, median",
                ourMedian / bareMedian, ours.front() / bares.front());
}

// The program and a bare window, started in turn, so that whatever else the
// machine does weighs on both alike.
void startUp() {
    constexpr int kRounds = 11;
    const std::filesystem::path program = gProgram.empty() ? e2e::builtProgram() : gProgram;
    const std::filesystem::path bare = e2e::fromBuildPath(VELMORA_BARE_WINDOW);
    std::vector<double> ourVisible, bareVisible, ourAnswering, bareAnswering;
    startToFirstWindow(program);  // the files it writes at its first start
    startToFirstWindow(bare);
    for (int round = 0; round < kRounds; ++round) {
        const StartTimes bareTimes = startToFirstWindow(bare);
        const StartTimes ourTimes = startToFirstWindow(program);
        bareVisible.push_back(bareTimes.visible);
        bareAnswering.push_back(bareTimes.answering);
        ourVisible.push_back(ourTimes.visible);
        ourAnswering.push_back(ourTimes.answering);
    }
    reportStart("start to first visible window, median", ourVisible, bareVisible);
    reportStart("start to that window painted and answering, median", ourAnswering, bareAnswering);
}

// "验证全部" over rows of dead proxies: each worker fails at once, so the
// pass's own pacing is what the window meets.
void verifyAllPass(int rows) {
    e2e::TempFolder folder(L"bench-pass");
    e2e::App app(gProgram);
    std::string lines;
    for (int i = 0; i < rows; ++i) lines += "127.0.0.1:18199\r\n";
    if (!app.started() || !app.importProxies(folder.path(), lines)) {
        std::printf("verify-all: the program or the import did not come\n");
        return;
    }
    settle(app);
    ResponseWatch watch(app.window());
    // Posted: the pass runs inside the command for its whole length.
    PostMessageW(app.window(), WM_COMMAND, MAKEWPARAM(kMenuVerifyAll, 0), 0);
    Sleep(30000);
    const std::string what = "verify-all pass over " + std::to_string(rows) + " rows, its first 30 s (" +
                             std::to_string(app.selectedRow() + 1) + " started)";
    report(what.c_str(), 30000, watch.takeWorst());
    app.closeAndWait();
}

// A file of 1 GiB: a proxy line in every 10 KiB, junk lines between, so its
// first 100,000 proxies reach almost to its end.
std::optional<std::filesystem::path> writeHugeFile(const std::filesystem::path& folder) {
    constexpr std::size_t kBlock = 10 * 1024;
    constexpr std::size_t kChunk = 100 * kBlock;
    constexpr std::size_t kTotal = std::size_t{1} << 30;
    std::string block = "127.0.0.1:18190\r\n";
    while (block.size() + 100 <= kBlock) block += std::string(98, 'j') + "\r\n";
    block.resize(kBlock, 'k');
    block.back() = '\n';
    std::string chunk;
    while (chunk.size() < kChunk) chunk += block;
    const auto file = folder / L"huge.txt";
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    bool ok = true;
    for (std::size_t written = 0; ok && written < kTotal; written += chunk.size()) {
        DWORD done = 0;
        ok = WriteFile(handle, chunk.data(), static_cast<DWORD>(chunk.size()), &done, nullptr) &&
             done == chunk.size();
    }
    CloseHandle(handle);
    if (!ok) return std::nullopt;
    return file;
}

void hugeImport() {
    e2e::TempFolder folder(L"bench-huge");
    const auto file = writeHugeFile(folder.path());
    e2e::App app(gProgram);
    if (!file || !app.started()) {
        std::printf("huge import: the file or the program did not come\n");
        return;
    }
    settle(app);
    ResponseWatch watch(app.window());
    app.command(kMenuImport);
    if (app.findDialog(15s) == nullptr || !app.answerFileDialog(*file)) {
        std::printf("huge import: the dialog did not come\n");
        return;
    }
    const auto start = Clock::now();
    watch.takeWorst();  // the dialog's own time is not ours
    // The message that only the first 100,000 proxies are listed ends it.
    const auto box = app.answerMessageBox(600s);
    const double ms = msSince(start);
    report(("import of a 1 GiB file, confirm to its " + std::to_string(app.rowCount()) + " rows listed").c_str(),
           ms, watch.takeWorst());
    if (!box) std::printf("  no message came\n");
    std::printf("%-58s %8.1f MiB\n", "  peak memory of the process", peakMemoryMiB(app.process()));
    app.closeAndWait();
}

}  // namespace

int main(int argc, char** argv) {
    // Each figure shows as soon as it is known.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int manyRows = argc > 2 ? std::atoi(argv[2]) : 100000;
    if (argc > 3) gProgram = argv[3];
    // VELMORA_BENCH_ONLY picks measures by letter: s (start-up), x
    // (extraction of ROWS), m (of MANY_ROWS), f (flood), l (list actions),
    // v (verify-all pass over ROWS), i (import of 1 GiB); all by default.
    const char* only = std::getenv("VELMORA_BENCH_ONLY");
    const std::string pick = only != nullptr ? only : "sxmflvi";
    const auto picked = [&](char measure) { return pick.find(measure) != std::string::npos; };
    if (picked('s')) startUp();
    if (picked('x')) extraction(rows);
    if (picked('m')) extraction(manyRows);
    if (picked('f')) flood();
    if (picked('l')) listActions(rows);
    if (picked('v')) verifyAllPass(rows);
    if (picked('i')) hugeImport();
    return 0;
}

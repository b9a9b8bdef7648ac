// Figures of the real window under Wine, with the skin: extractions of
// 10,000 and 100,000 proxies, a service that floods the answer with proxies,
// an import of 10,000 rows, "清除无效" (clear invalid) on 10,000 rows of which
// half failed, and "清除全部" (clear all). For each: how long it took, and the longest the window took
// to answer a message meanwhile (a thread of this program asks it every 10 ms).
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
#include <thread>

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

void extraction(int rows) {
    e2e::httpRequest(L"POST", L"127.0.0.1", 18186, L"/_reset");
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

}  // namespace

int main(int argc, char** argv) {
    // Each figure shows as soon as it is known.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int rows = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int manyRows = argc > 2 ? std::atoi(argv[2]) : 100000;
    if (argc > 3) gProgram = argv[3];
    // VELMORA_BENCH_ONLY picks measures by letter: x (extraction of ROWS),
    // m (of MANY_ROWS), f (flood), l (list actions); all by default.
    const char* only = std::getenv("VELMORA_BENCH_ONLY");
    const std::string pick = only != nullptr ? only : "xmfl";
    const auto picked = [&](char measure) { return pick.find(measure) != std::string::npos; };
    if (picked('x')) extraction(rows);
    if (picked('m')) extraction(manyRows);
    if (picked('f')) flood();
    if (picked('l')) listActions(rows);
    return 0;
}

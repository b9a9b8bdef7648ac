// Figures of the real window under Wine: an extraction of 10,000 proxies
// into the list, and a verify-all of 200 rows through a local proxy, with the
// window's response time, the process's memory and its thread count while
// the work runs. Needs the local services (tests/servers/services.sh start).
//
// Usage: window_bench [rows-to-extract] [rows-to-verify]
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "harness_win.h"
#include "ui/ids.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace velmora::ui;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Round trip of one message through the window's queue.
double responseMs(HWND window) {
    const auto start = Clock::now();
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result)) return 10000;
    return msSince(start);
}

int threadCount(DWORD processId) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int n = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == processId) ++n;
    }
    CloseHandle(snapshot);
    return n;
}

double memoryMiB(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return -1;
    return static_cast<double>(counters.PagefileUsage) / (1024.0 * 1024.0);
}

struct Samples {
    std::vector<double> response;
    double peakMemory = 0;
    int peakThreads = 0;

    void take(const e2e::App& app) {
        response.push_back(responseMs(app.window()));
        peakMemory = std::max(peakMemory, memoryMiB(app.process()));
        peakThreads = std::max(peakThreads, threadCount(app.processId()));
    }
    void print(const char* what) const {
        std::vector<double> sorted = response;
        std::sort(sorted.begin(), sorted.end());
        const double median = sorted.empty() ? 0 : sorted[sorted.size() / 2];
        const double worst = sorted.empty() ? 0 : sorted.back();
        std::printf("%s: window response median %.1f ms, worst %.1f ms (%zu samples); "
                    "peak memory %.1f MiB; peak threads %d\n",
                    what, median, worst, sorted.size(), peakMemory, peakThreads);
    }
};

// With `plain`, the program runs from a folder of its own whose skin file is
// corrupt and held open, so that it keeps the standard look.
void extractionFigures(int rows, bool plain) {
    e2e::httpRequest(L"POST", L"127.0.0.1", 18186, L"/_reset");
    e2e::TempFolder folder(L"bench-extract");
    std::filesystem::path program;
    HANDLE held = INVALID_HANDLE_VALUE;
    if (plain) {
        program = e2e::installProgram(folder.path());
        const auto skin = folder.path() / L"\u76AE\u80A4.she";
        e2e::writeFile(skin, "corrupt");
        held = CreateFileW(skin.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    e2e::App app(program);
    if (!app.started()) {
        std::printf("extraction: the program did not start\n");
        if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
        return;
    }
    app.setText(kCountEdit, std::to_wstring(rows));
    Samples samples;
    const auto start = Clock::now();
    app.clickButton(kExtractButton);
    double firstRowMs = -1;
    while (app.rowCount() < rows && msSince(start) < 600000) {
        if (firstRowMs < 0 && app.rowCount() > 0) firstRowMs = msSince(start);
        samples.take(app);
        Sleep(250);
    }
    const double totalMs = msSince(start);
    const int filled = app.rowCount();
    std::printf("extraction of %d proxies%s: %d rows in %.0f ms (first row after %.0f ms), "
                "%.0f rows/s\n",
                rows, plain ? " (standard look)" : "", filled, totalMs, firstRowMs,
                filled * 1000.0 / totalMs);
    samples.print("  while rows appeared");
    app.closeAndWait();
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
}

void verificationFigures(int rows) {
    e2e::TempFolder folder(L"bench");
    e2e::App app;
    if (!app.started()) {
        std::printf("verify-all: the program did not start\n");
        return;
    }
    std::string lines;
    for (int i = 0; i < rows; ++i) lines += "127.0.0.1:18190\r\n";
    if (!app.importProxies(folder.path(), lines)) {
        std::printf("verify-all: import failed\n");
        return;
    }
    Sleep(1000);  // the own address is learned at start
    Samples samples;
    const auto start = Clock::now();
    app.command(kMenuVerifyAll);
    auto verifiedRows = [&] {
        int n = 0;
        for (int r = 0; r < rows; ++r) {
            if (!app.cell(r, 4).empty()) ++n;
        }
        return n;
    };
    int done = 0;
    while ((done = verifiedRows()) < rows && msSince(start) < 900000) {
        samples.take(app);
        Sleep(250);
    }
    const double totalMs = msSince(start);
    const double paced = rows * 500.0;
    std::printf("verify-all of %d rows through a local proxy: %d verified in %.0f ms; the "
                "500 ms pacing alone is %.0f ms, so %.1f ms per row beyond it\n",
                rows, done, totalMs, paced, (totalMs - paced) / rows);
    samples.print("  during the pass");
    app.closeAndWait();
}

}  // namespace

int main(int argc, char** argv) {
    const int extractRows = argc > 1 ? std::atoi(argv[1]) : 10000;
    const int verifyRows = argc > 2 ? std::atoi(argv[2]) : 200;
    extractionFigures(extractRows, false);
    extractionFigures(extractRows, true);
    verificationFigures(verifyRows);
    return 0;
}

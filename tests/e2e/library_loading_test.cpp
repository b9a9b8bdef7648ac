// Libraries planted next to the program under the names of system libraries
// are never loaded: the program takes its system libraries from the system
// folder only, and still extracts and verifies with them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harness_win.h"
#include "ui/ids.h"

namespace {

using namespace velmora::ui;
using namespace std::chrono_literals;

// Libraries that the system does not protect by itself, each used by the
// program: the window's controls, ICMP, the extraction request, the checks.
const wchar_t* const kPlanted[] = {L"wininet.dll", L"IPHLPAPI.DLL", L"COMCTL32.DLL",
                                   L"WINHTTP.DLL"};

// The copies in the folder first, then Wine's own, as a system where such a
// name is not a built-in library would look for it.
constexpr wchar_t kNativeFirst[] = L"wininet,iphlpapi,comctl32,winhttp=n,b";

std::vector<std::wstring> loadedPlants(const std::filesystem::path& folder) {
    std::vector<std::wstring> loaded;
    for (const wchar_t* name : kPlanted) {
        if (std::filesystem::exists(folder / (std::wstring(name) + L".loaded"))) {
            loaded.push_back(name);
        }
    }
    return loaded;
}

// Sets an environment variable for the programs this process starts.
class ScopedVariable {
public:
    ScopedVariable(const wchar_t* name, const wchar_t* value) : name_(name) {
        wchar_t old[4096];
        const DWORD n = GetEnvironmentVariableW(name, old, 4096);
        if (n > 0 && n < 4096) old_ = std::wstring(old, n);
        SetEnvironmentVariableW(name, value);
    }
    ~ScopedVariable() { SetEnvironmentVariableW(name_, old_ ? old_->c_str() : nullptr); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const wchar_t* name_;
    std::optional<std::wstring> old_;
};

bool runToEnd(const std::filesystem::path& program, std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        program.parent_path().c_str(), &startup, &process)) {
        return false;
    }
    const bool ended = WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended;
}

TEST(LibraryLoading, LibrariesPlantedUnderSystemNamesAreNotLoaded) {
    ASSERT_TRUE(e2e::httpRequest(L"POST", L"127.0.0.1", 18186, L"/_reset").has_value());
    e2e::TempFolder folder(L"planted");
    const auto program = e2e::installProgram(folder.path());
    std::wstring names;
    for (const wchar_t* name : kPlanted) {
        std::filesystem::copy_file(e2e::fromBuildPath(VELMORA_PLANTED_LIBRARY), folder.path() / name);
        names += L" ";
        names += name;
    }
    const ScopedVariable overrides(L"WINEDLLOVERRIDES", kNativeFirst);

    // A program that loads these names the default way gets the planted
    // copies: without that, the check below could not fail.
    const auto probe = folder.path() / L"load_by_name.exe";
    std::filesystem::copy_file(e2e::fromBuildPath(VELMORA_LOAD_BY_NAME), probe);
    ASSERT_TRUE(runToEnd(probe, L"\"" + probe.wstring() + L"\"" + names));
    ASSERT_EQ(loadedPlants(folder.path()).size(), std::size(kPlanted));
    for (const wchar_t* name : kPlanted) {
        std::filesystem::remove(folder.path() / (std::wstring(name) + L".loaded"));
    }

    e2e::App app(program);
    ASSERT_TRUE(app.started());
    ASSERT_TRUE(app.importProxies(folder.path(), "127.0.0.1:18190\r\n"));
    app.selectRow(0);
    app.command(kMenuVerifySelected);
    ASSERT_TRUE(app.waitFor([&] { return app.cell(0, 4) != L""; }, 30s));
    EXPECT_EQ(app.cell(0, 3), L"成功");
    EXPECT_EQ(app.cell(0, 4), L"极快");
    app.clickButton(kExtractButton);
    EXPECT_TRUE(app.waitFor([&] { return app.rowCount() == 10; }, 20s));
    app.screenshot(L"planted-libraries");
    EXPECT_EQ(app.closeAndWait(), std::optional<DWORD>(0));
    EXPECT_EQ(loadedPlants(folder.path()), std::vector<std::wstring>{});
}

}  // namespace

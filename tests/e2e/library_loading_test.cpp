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

// The libraries Wine takes from a file first and only then its own, as a
// system where such a name is not a built-in library would look for it.
const wchar_t* const kNativeFirst[] = {L"wininet", L"iphlpapi", L"comctl32", L"winhttp"};

std::vector<std::wstring> loadedPlants(const std::filesystem::path& folder) {
    std::vector<std::wstring> loaded;
    for (const wchar_t* name : kPlanted) {
        if (std::filesystem::exists(folder / (std::wstring(name) + L".loaded"))) {
            loaded.push_back(name);
        }
    }
    return loaded;
}

// Wine's load order for the programs of one file name, set in the registry
// (a child process does not take it from this process's environment) and
// removed again. Other systems ignore the key.
class NativeFirst {
public:
    explicit NativeFirst(const std::wstring& program)
        : key_(L"Software\\Wine\\AppDefaults\\" + program + L"\\DllOverrides") {
        HKEY key = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                            &key, nullptr) != ERROR_SUCCESS) {
            return;
        }
        const std::wstring order = L"native,builtin";
        for (const wchar_t* name : kNativeFirst) {
            RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(order.c_str()),
                           static_cast<DWORD>((order.size() + 1) * sizeof(wchar_t)));
        }
        RegCloseKey(key);
    }
    ~NativeFirst() { RegDeleteKeyW(HKEY_CURRENT_USER, key_.c_str()); }
    NativeFirst(const NativeFirst&) = delete;
    NativeFirst& operator=(const NativeFirst&) = delete;

private:
    std::wstring key_;
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
    const NativeFirst probeOverrides(L"load_by_name.exe");
    const NativeFirst programOverrides(L"Velmora.exe");

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
    ASSERT_TRUE(app.useListMenu(0, kMenuVerifySelected));
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

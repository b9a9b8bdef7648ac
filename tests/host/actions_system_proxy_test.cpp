#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "actions/system_proxy.h"
#include "support/memory_window.h"

namespace velmora::actions {
namespace {

using fakes::MemoryWindow;
using Calls = std::vector<std::string>;

StoredValue dword(std::uint32_t value) {
    return {.present = true, .type = 4, .bytes = std::string(reinterpret_cast<const char*>(&value), sizeof value)};
}
StoredValue text(std::string_view value) {
    return {.present = true, .type = 1, .bytes = std::string(value) + '\0'};
}

const ProxyState kNoProxy{};
const ProxyState kCompanyProxy{.enable = dword(1), .server = text("10.20.30.40:3128")};
const ProxyState kOff{.enable = dword(0), .server = {}};

// The settings in memory, with a record of what the switch wrote; the wait
// runs `duringWait`, standing in for the window events handled while it
// lasts.
class MemorySettings final : public ProxySettings {
public:
    ProxyState read() override { return state; }
    void restore(const ProxyState& saved) override {
        calls.emplace_back("restore");
        state.enable = saved.enable.present ? saved.enable : dword(0);
        state.server = saved.server;
    }
    bool holdsOwnProxy() override {
        return written && state.enable == dword(1) && state.server == text(*written);
    }
    void setEnabled(bool enabled) override {
        calls.push_back(enabled ? "enable 1" : "enable 0");
        state.enable = dword(enabled ? 1 : 0);
    }
    void setServer(std::string_view server) override {
        calls.push_back("server " + std::string(server));
        written = std::string(server);
        state.server = text(server);
    }
    void removeServer() override {
        calls.emplace_back("remove server");
        state.server = {};
    }
    void announceChange() override { calls.emplace_back("announce"); }
    void pauseResponsively(int milliseconds) override {
        calls.push_back("wait " + std::to_string(milliseconds));
        if (duringWait) duringWait();
    }

    ProxyState state;
    Calls calls;
    std::optional<std::string> written;
    std::function<void()> duringWait;
};

const Calls kSwitchOff = {"enable 0", "remove server", "announce"};

Calls concat(Calls a, const Calls& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct SwitchFixture : ::testing::Test {
    SwitchFixture() {
        window.setRows({{"1", "1.2.3.4", "8080", "", "", ""},
                        {"2", "5.6.7.8", "3128", "失败", "无效", ""},
                        {"3", "", "", "", "", ""}});
    }
    void setRow(int row) {
        window.setCurrentRow(row);
        proxySwitch.switchOn(window, window);
    }
    MemoryWindow window;
    MemorySettings settings;
    SystemProxySwitch proxySwitch{settings};
};

TEST_F(SwitchFixture, NoSelectionShowsTheMessageAndTouchesNothing) {
    proxySwitch.switchOn(window, window);
    EXPECT_TRUE(settings.calls.empty());
    const auto messages = window.messages();
    ASSERT_EQ(messages.size(), 1U);
    EXPECT_EQ(messages[0].text, "请选择需要设置的代理IP");
    EXPECT_FALSE(proxySwitch.mayBeSet());
}

TEST_F(SwitchFixture, SetWaitsThenSetsTheSelectedProxy) {
    setRow(1);  // a failed proxy can be set as well
    EXPECT_EQ(settings.calls, (Calls{"wait 200", "enable 1", "server 5.6.7.8:3128", "announce"}));
    EXPECT_TRUE(proxySwitch.mayBeSet());
    EXPECT_TRUE(window.messages().empty());
    setRow(2);
    EXPECT_EQ(settings.written, ":") << "a row with empty cells";
}

TEST_F(SwitchFixture, TheRowSelectedAfterTheWaitCounts) {
    window.setCurrentRow(0);
    settings.duringWait = [this] { window.setCurrentRow(1); };
    proxySwitch.switchOn(window, window);
    EXPECT_EQ(settings.written, "5.6.7.8:3128");
}

// The company proxy the user had comes back however ours goes: the close,
// "取消代理" and the session's end, also after a second "设置代理" that
// replaced the first.
TEST_F(SwitchFixture, TheUsersProxyComesBackWhenOursGoes) {
    const std::vector<void (SystemProxySwitch::*)()> ends = {
        &SystemProxySwitch::releaseForGood, &SystemProxySwitch::switchOff, &SystemProxySwitch::release};
    for (const auto end : ends) {
        SystemProxySwitch fresh{settings};
        settings.state = kCompanyProxy;
        window.setCurrentRow(0);
        fresh.switchOn(window, window);
        window.setCurrentRow(1);
        fresh.switchOn(window, window);
        EXPECT_EQ(settings.state.server, text("5.6.7.8:3128"));
        (fresh.*end)();
        EXPECT_EQ(settings.state, kCompanyProxy);
        EXPECT_FALSE(fresh.mayBeSet());
    }
}

TEST_F(SwitchFixture, AUserWithoutAProxyEndsSwitchedOff) {
    settings.state = kNoProxy;
    setRow(0);
    proxySwitch.releaseForGood();
    EXPECT_EQ(settings.state, kOff);
}

// Without a proxy of ours in place, the close and the session's end leave
// the settings as they are: the user's own, or another program's since.
TEST_F(SwitchFixture, SettingsThatAreNotOursAreLeftAlone) {
    settings.state = kCompanyProxy;
    proxySwitch.releaseForGood();
    EXPECT_EQ(settings.state, kCompanyProxy);
    EXPECT_TRUE(settings.calls.empty());

    SystemProxySwitch second{settings};
    window.setCurrentRow(0);
    second.switchOn(window, window);
    const ProxyState otherProgram{.enable = dword(1), .server = text("127.0.0.1:8888")};
    settings.state = otherProgram;
    settings.calls.clear();
    second.release();
    EXPECT_EQ(settings.state, otherProgram);
    EXPECT_TRUE(settings.calls.empty());
    EXPECT_FALSE(second.mayBeSet());
}

TEST_F(SwitchFixture, CancelWithNothingOfOursSwitchesTheProxyOff) {
    settings.state = kCompanyProxy;
    proxySwitch.switchOff();
    EXPECT_EQ(settings.calls, kSwitchOff);
    EXPECT_EQ(settings.state, kOff);
}

// Events during the wait: a deleted selection, the close, a nested cancel.
TEST_F(SwitchFixture, WhatHappensDuringTheWaitIsRespected) {
    settings.state = kCompanyProxy;
    window.setCurrentRow(0);
    settings.duringWait = [this] { window.withRows([](model::ProxyRows& rows) { rows.clear(); }); };
    proxySwitch.switchOn(window, window);
    EXPECT_EQ(settings.calls, (Calls{"wait 200"}));
    EXPECT_EQ(settings.state, kCompanyProxy);

    window.setRows({{"1", "1.2.3.4", "8080", "", "", ""}});
    window.setCurrentRow(0);
    settings.duringWait = {};
    proxySwitch.switchOn(window, window);
    settings.calls.clear();
    settings.duringWait = [this] { proxySwitch.releaseForGood(); };
    proxySwitch.switchOn(window, window);
    EXPECT_EQ(settings.calls, (Calls{"restore", "announce", "wait 200"}));
    EXPECT_EQ(settings.state, kCompanyProxy);
    EXPECT_FALSE(proxySwitch.mayBeSet());
}

TEST_F(SwitchFixture, ACancelNestedInTheWaitRunsBeforeTheSwitchOn) {
    settings.state = kCompanyProxy;
    window.setCurrentRow(0);
    bool nested = false;
    settings.duringWait = [&] {
        if (nested) return;
        nested = true;
        proxySwitch.switchOff();
    };
    proxySwitch.switchOn(window, window);
    EXPECT_EQ(settings.calls,
              concat(concat({"wait 200"}, kSwitchOff), {"enable 1", "server 1.2.3.4:8080", "announce"}));
    proxySwitch.releaseForGood();
    EXPECT_EQ(settings.state, kOff) << "the user switched off before ours went in";
}

}  // namespace
}  // namespace velmora::actions

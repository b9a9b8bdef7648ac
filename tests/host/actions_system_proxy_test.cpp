#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "actions/system_proxy.h"
#include "support/memory_window.h"

namespace velmora::actions {
namespace {

using fakes::MemoryWindow;
using model::Row;
using Calls = std::vector<std::string>;

// Records what the switch does to the settings; the wait runs `duringWait`,
// standing in for the window events handled while it lasts.
class RecordingSettings final : public ProxySettings {
public:
    void setEnabled(bool enabled) override { calls.push_back(enabled ? "enable 1" : "enable 0"); }
    void setServer(std::string_view server) override {
        calls.push_back("server " + std::string(server));
    }
    void removeServer() override { calls.push_back("remove server"); }
    void announceChange() override { calls.push_back("announce"); }
    void pauseResponsively(int milliseconds) override {
        calls.push_back("wait " + std::to_string(milliseconds));
        if (duringWait) duringWait();
    }

    Calls calls;
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
    MemoryWindow window;
    RecordingSettings settings;
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

TEST_F(SwitchFixture, SetSwitchesOffWaitsThenSetsTheSelectedProxy) {
    window.setCurrentRow(1);  // a failed proxy can be set as well
    proxySwitch.switchOn(window, window);
    EXPECT_EQ(settings.calls,
              concat(kSwitchOff, {"wait 200", "enable 1", "server 5.6.7.8:3128", "announce"}));
    EXPECT_TRUE(proxySwitch.mayBeSet());
    EXPECT_TRUE(window.messages().empty());
}

TEST_F(SwitchFixture, RowWithEmptyCellsGivesAColon) {
    window.setCurrentRow(2);
    proxySwitch.switchOn(window, window);
    EXPECT_EQ(settings.calls.at(5), "server :");
}

TEST_F(SwitchFixture, TheRowSelectedAfterTheWaitCounts) {
    window.setCurrentRow(0);
    settings.duringWait = [this] { window.setCurrentRow(1); };
    proxySwitch.switchOn(window, window);
    EXPECT_EQ(settings.calls.at(5), "server 5.6.7.8:3128");
}

TEST_F(SwitchFixture, SelectionGoneDuringTheWaitLeavesTheProxyOff) {
    window.setCurrentRow(0);
    settings.duringWait = [this] { window.withRows([](model::ProxyRows& rows) { rows.clear(); }); };
    proxySwitch.switchOn(window, window);
    EXPECT_EQ(settings.calls, concat(kSwitchOff, {"wait 200"}));
    EXPECT_FALSE(proxySwitch.mayBeSet());
}

TEST_F(SwitchFixture, EndDuringTheWaitKeepsTheProxyOff) {
    window.setCurrentRow(0);
    settings.duringWait = [this] { proxySwitch.switchOffForGood(); };
    proxySwitch.switchOn(window, window);
    EXPECT_EQ(settings.calls, concat(concat(kSwitchOff, {"wait 200"}), kSwitchOff));
    EXPECT_FALSE(proxySwitch.mayBeSet());
}

TEST_F(SwitchFixture, NestedSetAndCancelRunInsideTheWait) {
    window.setCurrentRow(0);
    bool nested = false;
    settings.duringWait = [&] {
        if (nested) return;
        nested = true;
        proxySwitch.switchOff();
    };
    proxySwitch.switchOn(window, window);
    // A cancel chosen during the pause runs between the switch-off and the
    // switch-on, which still follows.
    EXPECT_EQ(settings.calls,
              concat(concat(kSwitchOff, {"wait 200"}),
                     concat(kSwitchOff, {"enable 1", "server 1.2.3.4:8080", "announce"})));
}

TEST_F(SwitchFixture, CancelAlwaysSwitchesOff) {
    proxySwitch.switchOff();
    EXPECT_EQ(settings.calls, kSwitchOff);
    window.setCurrentRow(0);
    proxySwitch.switchOn(window, window);
    EXPECT_TRUE(proxySwitch.mayBeSet());
    proxySwitch.switchOff();
    EXPECT_FALSE(proxySwitch.mayBeSet());
}

}  // namespace
}  // namespace velmora::actions

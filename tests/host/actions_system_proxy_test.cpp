#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "actions/system_proxy.h"
#include "ui/memory_controls.h"

namespace velmora::actions {
namespace {

using ui::MemoryControls;
using ui::Row;
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
        controls.setRows({{"1", "1.2.3.4", "8080", "", "", ""},
                          {"2", "5.6.7.8", "3128", "失败", "无效", ""},
                          {"3", "", "", "", "", ""}});
    }
    MemoryControls controls;
    RecordingSettings settings;
    SystemProxySwitch proxySwitch{settings};
};

TEST_F(SwitchFixture, NoSelectionShowsTheMessageAndTouchesNothing) {
    proxySwitch.set(controls);
    EXPECT_TRUE(settings.calls.empty());
    const auto messages = controls.messages();
    ASSERT_EQ(messages.size(), 1U);
    EXPECT_EQ(messages[0].text, "请选择需要设置的代理IP");
    EXPECT_EQ(messages[0].title, "信息：");
    EXPECT_FALSE(proxySwitch.mayBeSet());
}

TEST_F(SwitchFixture, SetSwitchesOffWaitsThenSetsTheSelectedProxy) {
    controls.setCurrentRow(1);  // a failed proxy can be set as well
    proxySwitch.set(controls);
    EXPECT_EQ(settings.calls,
              concat(kSwitchOff, {"wait 200", "enable 1", "server 5.6.7.8:3128", "announce"}));
    EXPECT_TRUE(proxySwitch.mayBeSet());
    EXPECT_TRUE(controls.messages().empty());
}

TEST_F(SwitchFixture, RowWithEmptyCellsGivesAColon) {
    controls.setCurrentRow(2);
    proxySwitch.set(controls);
    EXPECT_EQ(settings.calls.at(5), "server :");
}

TEST_F(SwitchFixture, TheRowSelectedAfterTheWaitCounts) {
    controls.setCurrentRow(0);
    settings.duringWait = [this] { controls.setCurrentRow(1); };
    proxySwitch.set(controls);
    EXPECT_EQ(settings.calls.at(5), "server 5.6.7.8:3128");
}

TEST_F(SwitchFixture, SelectionGoneDuringTheWaitLeavesTheProxyOff) {
    controls.setCurrentRow(0);
    settings.duringWait = [this] { controls.deleteAllRows(); };
    proxySwitch.set(controls);
    EXPECT_EQ(settings.calls, concat(kSwitchOff, {"wait 200"}));
    EXPECT_FALSE(proxySwitch.mayBeSet());
}

TEST_F(SwitchFixture, EndDuringTheWaitKeepsTheProxyOff) {
    controls.setCurrentRow(0);
    settings.duringWait = [this] { proxySwitch.end(); };
    proxySwitch.set(controls);
    EXPECT_EQ(settings.calls, concat(concat(kSwitchOff, {"wait 200"}), kSwitchOff));
    EXPECT_FALSE(proxySwitch.mayBeSet());
}

TEST_F(SwitchFixture, NestedSetAndCancelRunInsideTheWait) {
    controls.setCurrentRow(0);
    bool nested = false;
    settings.duringWait = [&] {
        if (nested) return;
        nested = true;
        proxySwitch.cancel();
    };
    proxySwitch.set(controls);
    // A cancel chosen during the pause runs between the switch-off and the
    // switch-on, which still follows.
    EXPECT_EQ(settings.calls,
              concat(concat(kSwitchOff, {"wait 200"}),
                     concat(kSwitchOff, {"enable 1", "server 1.2.3.4:8080", "announce"})));
}

TEST_F(SwitchFixture, CancelAlwaysSwitchesOff) {
    proxySwitch.cancel();
    EXPECT_EQ(settings.calls, kSwitchOff);
    controls.setCurrentRow(0);
    proxySwitch.set(controls);
    EXPECT_TRUE(proxySwitch.mayBeSet());
    proxySwitch.cancel();
    EXPECT_FALSE(proxySwitch.mayBeSet());
}

}  // namespace
}  // namespace velmora::actions

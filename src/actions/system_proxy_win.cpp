#include "actions/system_proxy_win.h"

#include <windows.h>
#include <wininet.h>

#include <string>

#include "actions/system_proxy.h"
#include "actions/system_proxy_exit.h"
#include "actions/wait_responsive_win.h"
#include "util/runtime_binding.h"
#include "util/unique_handle_win.h"

namespace velmora::actions {

namespace {

// Opens `path` under `root` for writing; empty when it cannot be opened.
RegistryKey openKeyForWriting(HKEY root, const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_WRITE, &key) != ERROR_SUCCESS) return {};
    return RegistryKey(key);
}

// Opens `path` for writing, creating it when it cannot be opened.
RegistryKey openOrCreateKey(HKEY root, const char* path) {
    RegistryKey opened = openKeyForWriting(root, path);
    if (opened) return opened;
    HKEY key = nullptr;
    if (RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return {};
    }
    return RegistryKey(key);
}

// The per-user internet settings in the registry. The values are ASCII, so
// the ANSI registry calls are right here.
class RegistryProxySettings final : public ProxySettings {
public:
    void setEnabled(bool enabled) override {
        const RegistryKey key = openOrCreateKey(HKEY_CURRENT_USER, kInternetSettingsPath);
        if (!key) return;
        const DWORD value = enabled ? 1 : 0;
        RegSetValueExA(key.get(), "ProxyEnable", 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&value), sizeof value);
    }

    void setServer(std::string_view server) override {
        const RegistryKey key = openOrCreateKey(HKEY_CURRENT_USER, kInternetSettingsPath);
        if (!key) return;
        const std::string value(server);
        RegSetValueExA(key.get(), "ProxyServer", 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    }

    void removeServer() override {
        const RegistryKey key = openKeyForWriting(HKEY_CURRENT_USER, kInternetSettingsPath);
        if (key && RegDeleteValueA(key.get(), "ProxyServer") == ERROR_SUCCESS) return;
        // A value that is not there may be a key of that name; normally
        // neither exists, and the outcome does not matter.
        const std::string subKey = std::string(kInternetSettingsPath) + "\\ProxyServer";
        RegDeleteKeyA(HKEY_CURRENT_USER, subKey.c_str());
    }

    void announceChange() override {
        DWORD zero = 0;
        auto* setOption = bound<decltype(::InternetSetOptionA)>(SystemFunction::InternetSetOptionA);
        setOption(nullptr, INTERNET_OPTION_SETTINGS_CHANGED, &zero, 0);
    }

    void pauseResponsively(int milliseconds) override {
        // Every "设置代理" comes with the window's events to handle.
        if (pump_ != nullptr) WaitResponsive(*pump_, milliseconds, WaitUnit::Milliseconds);
    }

    // The window whose events the wait handles; there is only one.
    void useEventPump(EventPump& pump) { pump_ = &pump; }

private:
    EventPump* pump_ = nullptr;
};

// Constant-initialised, so the crash reset can read the switch at any time.
constinit RegistryProxySettings gSettings;
constinit SystemProxySwitch gSwitch{gSettings};

}  // namespace

ProxySettings& currentUserProxySettings() { return gSettings; }

bool systemProxyMayBeSet() noexcept { return gSwitch.mayBeSet(); }

void switchSystemProxyOffForGood() { gSwitch.switchOffForGood(); }

void switchSystemProxyOn(model::ProxyList& list, model::Prompts& prompts, EventPump& pump) {
    gSettings.useEventPump(pump);
    gSwitch.switchOn(list, prompts);
}

void switchSystemProxyOff() { gSwitch.switchOff(); }

}  // namespace velmora::actions

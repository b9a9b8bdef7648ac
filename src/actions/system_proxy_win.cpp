#include "actions/system_proxy_win.h"

#include <windows.h>
#include <wininet.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "actions/system_proxy.h"
#include "actions/system_proxy_exit.h"
#include "util/runtime_binding.h"
#include "util/unique_handle_win.h"
#include "util/wide.h"

namespace velmora::actions {

namespace {

constexpr wchar_t kSettingsPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
constexpr wchar_t kEnableName[] = L"ProxyEnable";
constexpr wchar_t kServerName[] = L"ProxyServer";

RegistryKey openKey(REGSAM access) noexcept {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsPath, 0, access, &key) != ERROR_SUCCESS) return {};
    return RegistryKey(key);
}

// Opens the key for writing, creating it when it cannot be opened.
RegistryKey openOrCreateKey() {
    if (RegistryKey opened = openKey(KEY_WRITE)) return opened;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return {};
    }
    return RegistryKey(key);
}

// The value's type and bytes as stored; absent when it cannot be read.
StoredValue readValue(HKEY key, const wchar_t* name) {
    DWORD type = 0;
    DWORD size = 0;
    LONG result = RegQueryValueExW(key, name, nullptr, &type, nullptr, &size);
    std::string bytes;
    // ERROR_MORE_DATA: the value grew between the two calls.
    while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
        bytes.resize(size);
        result = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size);
        if (result == ERROR_SUCCESS) {
            bytes.resize(size);
            return {.present = true, .type = type, .bytes = std::move(bytes)};
        }
    }
    return {};
}

void writeDword(HKEY key, const wchar_t* name, DWORD value) noexcept {
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void writeStored(HKEY key, const wchar_t* name, const StoredValue& value) noexcept {
    RegSetValueExW(key, name, 0, value.type, reinterpret_cast<const BYTE*>(value.bytes.data()),
                   static_cast<DWORD>(value.bytes.size()));
}

// The per-user internet settings in the registry, through the wide calls:
// values are written and given back byte for byte, whatever their text.
//
// restore() and holdsOwnProxy() also serve the crash reset, in a process
// that is already failing: they allocate nothing, take no lock and load no
// library. What they need is prepared beforehand, by setServer().
class RegistryProxySettings final : public ProxySettings {
public:
    ProxyState read() override {
        const RegistryKey key = openKey(KEY_QUERY_VALUE);
        if (!key) return {};
        return {.enable = readValue(key.get(), kEnableName), .server = readValue(key.get(), kServerName)};
    }

    void restore(const ProxyState& state) noexcept override {
        const RegistryKey key = openKey(KEY_SET_VALUE);
        if (!key) return;
        if (state.enable.present) {
            writeStored(key.get(), kEnableName, state.enable);
        } else {
            writeDword(key.get(), kEnableName, 0);
        }
        if (state.server.present) {
            writeStored(key.get(), kServerName, state.server);
        } else {
            RegDeleteValueW(key.get(), kServerName);
        }
    }

    bool holdsOwnProxy() noexcept override {
        if (serverBytes_ == 0) return false;
        const RegistryKey key = openKey(KEY_QUERY_VALUE);
        if (!key) return false;
        DWORD type = 0;
        DWORD enable = 0;
        DWORD size = sizeof enable;
        if (RegQueryValueExW(key.get(), kEnableName, nullptr, &type, reinterpret_cast<BYTE*>(&enable),
                             &size) != ERROR_SUCCESS ||
            type != REG_DWORD || size != sizeof enable || enable != 1) {
            return false;
        }
        // One byte more than ours: a longer value does not fit and is not ours.
        size = static_cast<DWORD>(serverBytes_ + 1);
        if (RegQueryValueExW(key.get(), kServerName, nullptr, &type,
                             reinterpret_cast<BYTE*>(scratch_.data()), &size) != ERROR_SUCCESS) {
            return false;
        }
        return type == REG_SZ && size == serverBytes_ &&
               std::memcmp(scratch_.data(), written_.c_str(), serverBytes_) == 0;
    }

    void setEnabled(bool enabled) override {
        const RegistryKey key = openOrCreateKey();
        if (key) writeDword(key.get(), kEnableName, enabled ? 1 : 0);
    }

    void setServer(std::string_view server) override {
        written_ = toWide(server);
        serverBytes_ = (written_.size() + 1) * sizeof(wchar_t);
        scratch_.assign(written_.size() + 2, L'\0');
        const RegistryKey key = openOrCreateKey();
        if (!key) return;
        RegSetValueExW(key.get(), kServerName, 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(written_.c_str()), static_cast<DWORD>(serverBytes_));
    }

    void removeServer() override {
        const RegistryKey key = openKey(KEY_WRITE);
        if (key && RegDeleteValueW(key.get(), kServerName) == ERROR_SUCCESS) return;
        // A value that is not there may be a key of that name; normally
        // neither exists, and the outcome does not matter.
        const std::wstring subKey = std::wstring(kSettingsPath) + L"\\" + kServerName;
        RegDeleteKeyW(HKEY_CURRENT_USER, subKey.c_str());
    }

    void announceChange() override {
        DWORD zero = 0;
        auto* setOption = bound<decltype(::InternetSetOptionA)>(SystemFunction::InternetSetOptionA);
        setOption(nullptr, INTERNET_OPTION_SETTINGS_CHANGED, &zero, 0);
    }

    void pauseResponsively(int milliseconds) override {
        if (pause_) pause_(milliseconds);
    }

    // How the window waits while handling its events; there is one window,
    // and every "设置代理" comes with it.
    void useResponsivePause(SwitchPause pause) { pause_ = std::move(pause); }

private:
    SwitchPause pause_;
    // The ProxyServer text last written, with its terminating zero counted
    // in serverBytes_, and room to read a value one unit longer back.
    std::wstring written_;
    std::size_t serverBytes_ = 0;
    std::vector<wchar_t> scratch_;
};

// Both live as long as the process, so the crash reset can use them at any
// time.
RegistryProxySettings gSettings;
SystemProxySwitch gSwitch{gSettings};

}  // namespace

ProxySettings& currentUserProxySettings() { return gSettings; }

void restoreSystemProxyAfterCrash() noexcept {
    if (!gSwitch.mayBeSet() || !gSettings.holdsOwnProxy()) return;
    gSettings.restore(gSwitch.remembered());
}

void releaseSystemProxy() { gSwitch.release(); }

void releaseSystemProxyForGood() { gSwitch.releaseForGood(); }

void switchSystemProxyOn(model::ProxyList& list, model::Prompts& prompts, SwitchPause pause) {
    gSettings.useResponsivePause(std::move(pause));
    gSwitch.switchOn(list, prompts);
}

void switchSystemProxyOff() { gSwitch.switchOff(); }

}  // namespace velmora::actions

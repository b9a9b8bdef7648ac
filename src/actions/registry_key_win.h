// An owned registry key.
#pragma once

#include <windows.h>

#include <utility>

namespace velmora::actions {

class RegistryKey {
public:
    RegistryKey() = default;
    explicit RegistryKey(HKEY key) : key_(key) {}
    RegistryKey(RegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    RegistryKey& operator=(RegistryKey&& other) noexcept {
        if (this != &other) {
            close();
            key_ = std::exchange(other.key_, nullptr);
        }
        return *this;
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    ~RegistryKey() { close(); }

    // Opens `path` under `root` for writing; empty when it cannot be opened.
    static RegistryKey openForWriting(HKEY root, const char* path) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, path, 0, KEY_WRITE, &key) != ERROR_SUCCESS) return {};
        return RegistryKey(key);
    }

    // Opens `path` for writing, creating it when it cannot be opened.
    static RegistryKey openOrCreate(HKEY root, const char* path) {
        RegistryKey opened = openForWriting(root, path);
        if (opened) return opened;
        HKEY key = nullptr;
        if (RegCreateKeyExA(root, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                            &key, nullptr) != ERROR_SUCCESS) {
            return {};
        }
        return RegistryKey(key);
    }

    explicit operator bool() const { return key_ != nullptr; }
    HKEY get() const { return key_; }

private:
    void close() {
        if (key_) RegCloseKey(key_);
        key_ = nullptr;
    }

    HKEY key_ = nullptr;
};

}  // namespace velmora::actions

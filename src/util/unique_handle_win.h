// Owners of system handles, one template for every kind, so no file writes
// an owner class of its own. (COM's per-thread initialisation has its owner
// in com_scope_win.h.)
//
// A kind names the handle type, the value that means "nothing held" (which
// differs between kinds: files use INVALID_HANDLE_VALUE, most others null)
// and how a held handle is closed:
//
//     struct SomeKind {
//         using Type = HANDLE;
//         static Type invalid() noexcept;
//         static void close(Type handle) noexcept;
//     };
//
// Kinds whose close function is bound at run time are declared beside
// their users; the plain ones are here.
#pragma once

// winsock2 must come before windows.h, which would otherwise bring the old
// winsock header.
#include <winsock2.h>
#include <windows.h>

#include <utility>

namespace velmora {

template <typename Kind>
class UniqueHandle {
public:
    using Type = typename Kind::Type;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Type handle) noexcept : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Type get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Kind::invalid(); }

    // Gives the handle up unclosed; the owner then holds nothing.
    Type release() noexcept { return std::exchange(handle_, Kind::invalid()); }

    // Closes what is held, if anything, and holds `handle` instead.
    void reset(Type handle = Kind::invalid()) noexcept {
        const Type old = std::exchange(handle_, handle);
        if (old != Kind::invalid()) Kind::close(old);
    }

private:
    Type handle_ = Kind::invalid();
};

namespace handle_kinds {

// Kernel objects other than files: events, timers, threads.
struct KernelObject {
    using Type = HANDLE;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type handle) noexcept { CloseHandle(handle); }
};

struct File {
    using Type = HANDLE;
    static Type invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Type handle) noexcept { CloseHandle(handle); }
};

struct RegKey {
    using Type = HKEY;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type key) noexcept { RegCloseKey(key); }
};

struct GlobalBlock {
    using Type = HGLOBAL;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type block) noexcept { GlobalFree(block); }
};

// Holds a block that GlobalLock locked; closing unlocks it.
struct GlobalBlockLock {
    using Type = HGLOBAL;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type block) noexcept { GlobalUnlock(block); }
};

struct Font {
    using Type = HFONT;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type font) noexcept { DeleteObject(font); }
};

// An icon the program loaded itself (not a shared one, which must stay).
struct Icon {
    using Type = HICON;
    static Type invalid() noexcept { return nullptr; }
    static void close(Type icon) noexcept { DestroyIcon(icon); }
};

// Scopes with nothing to hold but whether they began: true while the
// clipboard is open (OpenClipboard), or while Winsock is started.
struct ClipboardOpen {
    using Type = bool;
    static Type invalid() noexcept { return false; }
    static void close(Type) noexcept { CloseClipboard(); }
};

}  // namespace handle_kinds

using KernelHandle = UniqueHandle<handle_kinds::KernelObject>;
using FileHandle = UniqueHandle<handle_kinds::File>;
using RegistryKey = UniqueHandle<handle_kinds::RegKey>;
using GlobalBlock = UniqueHandle<handle_kinds::GlobalBlock>;
using GlobalBlockLock = UniqueHandle<handle_kinds::GlobalBlockLock>;
using FontHandle = UniqueHandle<handle_kinds::Font>;
using IconHandle = UniqueHandle<handle_kinds::Icon>;
using ClipboardScope = UniqueHandle<handle_kinds::ClipboardOpen>;

// The clipboard, opened without owner window; empty when it could not be.
inline ClipboardScope openClipboard() { return ClipboardScope(::OpenClipboard(nullptr) != FALSE); }

}  // namespace velmora

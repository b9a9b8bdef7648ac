#include "actions/clipboard_win.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

#include "ui/wide.h"

namespace velmora::actions {

namespace {

// The clipboard is open, without owner window, for this object's lifetime.
class OpenClipboardScope {
public:
    OpenClipboardScope() : open_(OpenClipboard(nullptr) != FALSE) {}
    ~OpenClipboardScope() {
        if (open_) CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    explicit operator bool() const { return open_; }

private:
    bool open_;
};

// A global memory block, freed unless released to the clipboard.
class GlobalBlock {
public:
    explicit GlobalBlock(SIZE_T bytes)
        : block_(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes)) {}
    ~GlobalBlock() {
        if (block_) GlobalFree(block_);
    }
    GlobalBlock(const GlobalBlock&) = delete;
    GlobalBlock& operator=(const GlobalBlock&) = delete;
    explicit operator bool() const { return block_ != nullptr; }
    HGLOBAL get() const { return block_; }
    void release() { block_ = nullptr; }

private:
    HGLOBAL block_;
};

// A locked view of a global memory block and its size in bytes.
class LockedBlock {
public:
    explicit LockedBlock(HGLOBAL block)
        : block_(block),
          data_(block ? GlobalLock(block) : nullptr),
          size_(data_ ? GlobalSize(block) : 0) {}
    ~LockedBlock() {
        if (data_) GlobalUnlock(block_);
    }
    LockedBlock(const LockedBlock&) = delete;
    LockedBlock& operator=(const LockedBlock&) = delete;
    void* data() const { return data_; }
    SIZE_T size() const { return size_; }

private:
    HGLOBAL block_;
    void* data_;
    SIZE_T size_;
};

// The text of a clipboard block, never read past the block's end even when
// the program that filled it left out the terminating zero.
std::wstring wideTextOf(HANDLE data) {
    const LockedBlock locked(data);
    if (!locked.data()) return {};
    const auto* text = static_cast<const wchar_t*>(locked.data());
    return std::wstring(text, wcsnlen(text, locked.size() / sizeof(wchar_t)));
}

std::string ansiTextOf(HANDLE data) {
    const LockedBlock locked(data);
    if (!locked.data()) return {};
    const auto* text = static_cast<const char*>(locked.data());
    return std::string(text, strnlen(text, locked.size()));
}

}  // namespace

bool setClipboardText(std::string_view gbk) {
    const std::wstring wide = ui::toWide(gbk);
    const OpenClipboardScope clipboard;
    if (!clipboard || !EmptyClipboard()) return false;
    GlobalBlock block((wide.size() + 1) * sizeof(wchar_t));
    if (!block) return false;
    {
        const LockedBlock locked(block.get());
        if (!locked.data()) return false;
        std::memcpy(locked.data(), wide.data(), wide.size() * sizeof(wchar_t));
    }
    if (!SetClipboardData(CF_UNICODETEXT, block.get())) return false;
    block.release();  // the clipboard owns the block now
    return true;
}

std::string clipboardText() {
    const OpenClipboardScope clipboard;
    if (!clipboard) return {};
    if (HANDLE unicode = GetClipboardData(CF_UNICODETEXT)) return ui::fromWide(wideTextOf(unicode));
    if (HANDLE ansi = GetClipboardData(CF_TEXT)) return ansiTextOf(ansi);
    return {};
}

}  // namespace velmora::actions

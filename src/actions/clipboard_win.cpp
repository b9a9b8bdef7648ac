#include "actions/clipboard_win.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

#include "util/unique_handle_win.h"
#include "util/wide.h"

namespace velmora::actions {

namespace {

// A locked view of a global memory block and its size in bytes.
class LockedBlock {
public:
    explicit LockedBlock(HGLOBAL block)
        : data_(block ? GlobalLock(block) : nullptr),
          size_(data_ ? GlobalSize(block) : 0),
          lock_(data_ ? block : nullptr) {}
    void* data() const { return data_; }
    SIZE_T size() const { return size_; }

private:
    void* data_;
    SIZE_T size_;
    GlobalBlockLock lock_;
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

// Opened on the first try that finds it free; empty when it stayed busy.
ClipboardScope openClipboardWhenFree(const ClipboardPause& pause) {
    for (int tries = 1;; ++tries) {
        if (ClipboardScope clipboard = openClipboard()) return clipboard;
        if (tries == kClipboardTries) return {};
        pause(kClipboardRetryMs);
    }
}

}  // namespace

bool setClipboardText(std::string_view gbk, const ClipboardPause& pause) {
    const std::wstring wide = toWide(gbk);
    const ClipboardScope clipboard = openClipboardWhenFree(pause);
    if (!clipboard || !EmptyClipboard()) return false;
    // Freed unless handed to the clipboard.
    const SIZE_T bytes = (wide.size() + 1) * sizeof(wchar_t);
    GlobalBlock block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes));
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

std::optional<std::string> clipboardText(const ClipboardPause& pause) {
    const ClipboardScope clipboard = openClipboardWhenFree(pause);
    if (!clipboard) return std::nullopt;
    if (HANDLE unicode = GetClipboardData(CF_UNICODETEXT)) return fromWide(wideTextOf(unicode));
    if (HANDLE ansi = GetClipboardData(CF_TEXT)) return ansiTextOf(ansi);
    return std::string();
}

}  // namespace velmora::actions

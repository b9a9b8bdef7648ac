// Clipboard text through the wide API, converted with code page 936.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::actions {

// Waits the given milliseconds between two tries to open the clipboard.
using ClipboardPause = std::function<void(int milliseconds)>;

// Clipboard managers and remote desktops hold the clipboard for moments at
// a time: it is tried this often, this many milliseconds apart, before it
// counts as busy (about a third of a second in all).
inline constexpr int kClipboardTries = 12;
inline constexpr int kClipboardRetryMs = 30;

// Replaces the clipboard's content with the text. It is stored as Unicode,
// from which the system derives the ANSI text for every other reader, so
// Chinese survives on a system of any code page. False when the clipboard
// stayed busy or could not be written.
bool setClipboardText(std::string_view gbk, const ClipboardPause& pause);

// The clipboard's text as GBK, empty when it holds none; nothing when the
// clipboard stayed busy. The Unicode form is read first (the system derives
// it from an ANSI text that another program put there), the ANSI form only
// when there is no other.
std::optional<std::string> clipboardText(const ClipboardPause& pause);

}  // namespace velmora::actions

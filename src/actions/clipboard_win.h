// Clipboard text through the wide API, converted with code page 936.
#pragma once

#include <string>
#include <string_view>

namespace velmora::actions {

// Replaces the clipboard's content with the text. It is stored as Unicode,
// from which the system derives the ANSI text for every other reader, so
// Chinese survives on a system of any code page. False when the clipboard
// could not be opened or written.
bool setClipboardText(std::string_view gbk);

// The clipboard's text as GBK; empty when it holds none or cannot be opened.
// The Unicode form is read first (the system derives it from an ANSI text
// that another program put there), the ANSI form only when there is no other.
std::string clipboardText();

}  // namespace velmora::actions

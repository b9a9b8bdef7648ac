// The four texts that replace design-time captions at start. They are kept
// in the program only enciphered (hex pairs, deciphered with an empty key).
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace velmora {

// The stored forms: title, share notice, scrolling notice, status panel 1.
std::array<std::string_view, 4> encipheredStartupTexts();

// The four texts deciphered, in the order above.
std::array<std::string, 4> decodeStartupTexts();

}  // namespace velmora

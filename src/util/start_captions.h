// The four captions that replace design-time texts when the window is made:
// the title, the share notice, the scrolling notice and status panel 1. The
// program keeps them only enciphered (hex pairs, deciphered with an empty
// key).
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace velmora {

// The stored forms, in the order above.
std::array<std::string_view, 4> encipheredStartCaptions();

// The four captions deciphered, in the order above.
std::array<std::string, 4> decodeStartCaptions();

}  // namespace velmora

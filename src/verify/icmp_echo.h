// One ICMP echo request for the speed grade (Windows build only).
#pragma once

#include <string_view>

namespace velmora::verify {

inline constexpr unsigned kEchoTimeoutMs = 10'000;

// Round-trip time in ms of the first successful reply, -1 when there was
// none, the name could not be resolved or ICMP is not available. A dotted
// IPv4 text is used as it is; anything else is resolved.
long echoRoundTrip(std::string_view address);

}  // namespace velmora::verify

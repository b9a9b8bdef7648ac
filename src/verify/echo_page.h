// The page that shows its caller's address, fetched directly and through
// every proxy under test.
#pragma once

#include "build_config.h"

namespace velmora::verify {

inline constexpr const char* kEchoPageUrl = "http://" VELMORA_ECHO_HOST "/ic.asp";

}  // namespace velmora::verify

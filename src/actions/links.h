// The pages the three link labels open; the addresses are build settings.
#pragma once

#include <string_view>

namespace velmora::actions {

enum class Link { Service, Forum, MainSite };

std::string_view linkAddress(Link link);

}  // namespace velmora::actions

#include "actions/links.h"

#include "build_config.h"

namespace velmora::actions {

std::string_view linkAddress(Link link) {
    switch (link) {
        case Link::Service:
            return "http://" VELMORA_SERVICE_HOST "/";
        case Link::Forum:
            return VELMORA_FORUM_URL;
        case Link::MainSite:
            return VELMORA_MAINSITE_URL;
    }
    return {};
}

}  // namespace velmora::actions

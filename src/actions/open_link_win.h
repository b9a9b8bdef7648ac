// Opening a link label's page.
#pragma once

#include "actions/links.h"

namespace velmora::actions {

// Hands the address to the default browser; the program does not wait.
void openLink(Link link);

}  // namespace velmora::actions

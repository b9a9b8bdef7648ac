#include "ui/handlers.h"

namespace velmora {

void LoadSkin() {}

}  // namespace velmora

#include "ui/handlers.h"

namespace velmora {

void SetSystemProxy() {}
void CancelSystemProxy() {}

}  // namespace velmora

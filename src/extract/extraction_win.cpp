#include "ui/handlers.h"

namespace velmora {

void StartExtraction() {}

}  // namespace velmora

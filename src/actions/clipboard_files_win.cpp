#include "ui/handlers.h"

namespace velmora {

void CopyProxy() {}
void PasteProxy() {}
void ImportProxies() {}
void ExportProxies() {}

}  // namespace velmora

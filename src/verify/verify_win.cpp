#include "ui/handlers.h"

namespace velmora {

void VerifySelected() {}
void VerifyAll() {}
void StopVerify() {}
void StartOwnIpCheck() {}
void ExitCleanup() {}

}  // namespace velmora

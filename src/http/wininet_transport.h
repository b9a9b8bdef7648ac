// The WinINet transport of the request engine (Windows build only).
#pragma once

#include "http/engine.h"

namespace velmora::http {

// Stateless; one instance serves every thread.
Transport& sharedWinInetTransport();

}  // namespace velmora::http

// The verification workers' bodies and the release of OwnIpText at exit.
#pragma once

#include "model/proxy_list.h"
#include "verify/verification.h"

namespace velmora::verify {

// Worker: requests the echo page through the proxy and writes the outcome
// into the proxy's row.
void VerifyProxy(model::ProxyList& list, TotalsView& totals, const ProxyUnderTest& proxy);

// Worker: fetches the echo page directly and keeps the own address it shows
// in OwnIpText. A verification that still finds it unknown tries again.
void CheckOwnIp();

// Exit clean-up: releases OwnIpText.
void ExitCleanup();

}  // namespace velmora::verify

// The verify-all pass: runs on the window thread, one worker per row.
#pragma once

#include <functional>

#include "model/proxy_list.h"

namespace velmora::verify {

inline constexpr unsigned kVerifyAllSpacingMs = 500;

struct PassHooks {
    std::function<void(int row)> startWorker;
    // Handles pending window events; menu commands may run nested in it,
    // and so may the close of the window.
    std::function<void()> processPending;
    std::function<void(unsigned ms)> sleep;
    // False once the window is gone.
    std::function<bool()> windowOpen;
};

// "验证全部": sets `running` and walks the rows from the top until the last
// one was started or `running` was cleared (by "停止验证" or by a nested pass
// that ended). The flag is shared by all passes, nested ones included. A pass
// whose window closed ends at once: it starts nothing more and does not
// sleep, so the program can end.
void runVerifyAll(model::ProxyList& list, bool& running, const PassHooks& hooks);

// "停止验证": takes effect at the pass's next check; started workers go on.
inline void endVerifyAll(bool& running) { running = false; }

}  // namespace velmora::verify

// The verify-all pass: runs on the window thread, one worker per row.
#pragma once

#include <functional>

#include "model/proxy_list.h"

namespace velmora::verify {

inline constexpr unsigned kVerifyAllSpacingMs = 500;

struct PassHooks {
    std::function<void(int row)> startWorker;
    // Waits `ms` while the window goes on handling its events: menu commands
    // may run nested in it, and so may the close of the window. Returns
    // false, at once, when the window is gone.
    std::function<bool(unsigned ms)> wait;
};

// "验证全部": sets `running` and walks the rows listed when it began, from the
// top, selecting each in turn and starting its worker, one every spacing,
// until the last one's spacing has passed or `running` was cleared (by
// "停止验证" or by a nested pass that ended). The flag is shared by all
// passes, nested ones included. Rows removed meanwhile are skipped, rows
// added meanwhile are not the pass's, and a list cleared or replaced ends
// it. A pass whose window closed ends at once.
void runVerifyAll(model::ProxyList& list, bool& running, const PassHooks& hooks);

// "停止验证": takes effect before the pass's next start; started workers go
// on.
inline void endVerifyAll(bool& running) { running = false; }

}  // namespace velmora::verify

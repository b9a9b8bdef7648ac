#include "ui/bindings_win.h"

#include <cstddef>

#include "ui/handlers.h"
#include "ui/ids.h"

namespace velmora::ui {

namespace {

using Handler = void (*)(MainWindow& window);

struct Binding {
    int source;
    Handler handler;
};

// Button clicks and ListMenu items.
constexpr Binding kCommands[] = {
    {kExtractButton, StartExtraction},
    {kMenuCopyProxy, CopyProxy},
    {kMenuPasteProxy, PasteProxy},
    {kMenuSetProxy, SetSystemProxy},
    {kMenuCancelProxy, CancelSystemProxy},
    {kMenuVerifySelected, VerifySelected},
    {kMenuVerifyAll, VerifyAll},
    {kMenuStopVerify, StopVerify},
    {kMenuClearInvalid, ClearInvalid},
    {kMenuClearAll, ClearAll},
    {kMenuImport, ImportProxies},
    {kMenuExport, ExportProxies},
};

constexpr Binding kTimers[] = {
    {kNoticeTimer, ScrollNotice},
    {kTrimTimer, TrimWorkingSet},
};

// Left mouse button pressed on a link label.
constexpr Binding kLinks[] = {
    {kServiceLinkLabel, OpenServiceLink},
    {kForumLinkLabel, OpenForumLink},
    {kMainSiteLinkLabel, OpenMainSiteLink},
};

template <std::size_t N>
bool run(const Binding (&table)[N], MainWindow& window, int source) {
    for (const Binding& b : table) {
        if (b.source == source) {
            b.handler(window);
            return true;
        }
    }
    return false;
}

}  // namespace

bool runCommandHandler(MainWindow& window, int commandId) {
    return run(kCommands, window, commandId);
}
bool runTimerHandler(MainWindow& window, unsigned timerId) {
    return run(kTimers, window, static_cast<int>(timerId));
}
bool runLinkHandler(MainWindow& window, int controlId) {
    return run(kLinks, window, controlId);
}

}  // namespace velmora::ui

#include "ui/bindings_win.h"

#include <cstddef>

#include "ui/handlers.h"
#include "ui/ids.h"

namespace velmora::ui {

namespace {

using Handler = void (*)();

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
bool run(const Binding (&table)[N], int source) {
    for (const Binding& b : table) {
        if (b.source == source) {
            b.handler();
            return true;
        }
    }
    return false;
}

}  // namespace

bool runCommandHandler(int commandId) { return run(kCommands, commandId); }
bool runTimerHandler(unsigned timerId) { return run(kTimers, static_cast<int>(timerId)); }
bool runLinkHandler(int controlId) { return run(kLinks, controlId); }

}  // namespace velmora::ui

// The created event of the main window: the start-up actions, in order.
#include "ui/handlers.h"
#include "ui/window.h"
#include "util/startup_texts.h"

namespace velmora {

void InitMainWindow() {
    LoadSkin();
    StartOwnIpCheck();
    ApplyStartupTexts();
}

void ApplyStartupTexts() { applyStartupTexts(ui::windowControls()); }

}  // namespace velmora

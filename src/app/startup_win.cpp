// The created event of the main window: the start-up actions, in order.
#include "app/startup_texts.h"
#include "ui/handlers.h"
#include "ui/window.h"

namespace velmora {

void InitMainWindow() {
    LoadSkin();
    StartOwnIpCheck();
    ApplyStartupTexts();
}

void ApplyStartupTexts() { app::applyStartupTexts(ui::windowControls()); }

}  // namespace velmora

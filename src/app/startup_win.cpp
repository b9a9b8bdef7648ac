#include "app/startup_win.h"

#include "app/skin_loader_win.h"
#include "app/startup_texts.h"
#include "ui/handlers.h"

namespace velmora::app {

void InitMainWindow(ui::MainWindow& window) {
    LoadSkin();
    ui::StartOwnIpCheck(window);
    applyStartupTexts(window.controls());
}

}  // namespace velmora::app

// The program's start-up on its window.
#pragma once

#include "ui/main_window_win.h"

namespace velmora::app {

// The created event of the main window: the start-up actions, in order.
void InitMainWindow(ui::MainWindow& window);

}  // namespace velmora::app

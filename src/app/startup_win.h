// The program's start-up on its window.
#pragma once

#include "ui/main_window_win.h"

namespace velmora::app {

// The created event of the main window: what the first paint needs, in
// order (the skin, then the deciphered captions).
void InitMainWindow(ui::MainWindow& window);

// Once the window stands, painted: the start-up actions its first paint does
// not need. The own-address check loads the internet libraries and COM on
// its thread, and started earlier it held the window's first paint back.
void AfterFirstPaint(ui::MainWindow& window);

}  // namespace velmora::app

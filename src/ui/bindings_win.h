// Which handler runs for which event: the window's binding table.
#pragma once

namespace velmora::ui {

class MainWindow;

// Each runs the handler bound to the source on `window`; false when the
// source has none.
bool runCommandHandler(MainWindow& window, int commandId);
bool runTimerHandler(MainWindow& window, unsigned timerId);
bool runLinkHandler(MainWindow& window, int controlId);

}  // namespace velmora::ui

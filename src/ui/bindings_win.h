// Which handler runs for which event: the window's binding table.
#pragma once

namespace velmora::ui {

// Each returns false when the source has no handler bound.
bool runCommandHandler(int commandId);
bool runTimerHandler(unsigned timerId);
bool runLinkHandler(int controlId);

}  // namespace velmora::ui

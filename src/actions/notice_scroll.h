// The notice line that runs across the top of the window.
#pragma once

#include "ui/control_ops.h"

namespace velmora::actions {

inline constexpr int kNoticeStep = 10;

// The label's next left edge: 10 pixels further left, or the client width
// minus 10 once it has left the client area on the left side entirely.
int nextNoticeLeft(int left, int width, int clientWidth);

// One tick of the notice timer.
void moveNoticeOneStep(ui::ControlOperations& controls);

}  // namespace velmora::actions

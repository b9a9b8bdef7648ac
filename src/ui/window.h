// The shell's access to the main window for handlers and workers.
#pragma once

#include "ui/control_ops.h"

namespace velmora::ui {

// The window's ControlOperations. It lives for the whole process: callable
// from any thread, before the window exists and after it is gone (then every
// operation does nothing and reads as empty).
ControlOperations& windowControls();

// Processes the window messages that are pending and returns (window thread
// only). Lets long loops on the window thread keep the window responsive.
void processPendingMessages();

// Whether the main window exists: false before it is made and once it is
// gone. Loops on the window thread end when it is gone.
bool windowOpen();

}  // namespace velmora::ui

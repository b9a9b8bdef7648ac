// ControlOperations of the real window.
#pragma once

#include <memory>

#include "ui/control_ops.h"

namespace velmora::ui {

class MainWindow;

// The operations on `window`'s controls, and its file dialogs. Callable from
// any thread; once the window is gone they do nothing and read as empty.
std::unique_ptr<ControlOperations> makeWindowControls(MainWindow& window);

}  // namespace velmora::ui

// The start-up texts action: the deciphered texts (util/startup_texts.h) put
// in their places in the window.
#pragma once

#include "ui/control_ops.h"

namespace velmora::app {

// Sets the window title, the captions of ShareNoticeLabel and NoticeLabel and
// status panel 1, in this order.
void applyStartupTexts(ui::ControlOperations& controls);

}  // namespace velmora::app

#include "app/startup_texts.h"

#include "util/startup_texts.h"

namespace velmora::app {

void applyStartupTexts(ui::ControlOperations& controls) {
    const auto texts = decodeStartupTexts();
    controls.setTitle(texts[0]);
    controls.setText(ui::kShareNoticeLabel, texts[1]);
    controls.setText(ui::kNoticeLabel, texts[2]);
    controls.setStatusText(1, texts[3]);
}

}  // namespace velmora::app

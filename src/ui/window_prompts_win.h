// The message boxes of the layers below the window: shown on the calling
// thread, so that a worker's box blocks only that worker.
#pragma once

#include "model/prompts.h"

namespace velmora::ui {

class WindowPrompts final : public model::Prompts {
public:
    void inform(std::string_view text) override;
    void warn(std::string_view text) override;
};

}  // namespace velmora::ui

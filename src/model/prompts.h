// The message boxes the layers below the window show. Each has the title
// "信息：" and a single OK button, is task-modal and has no owner window; it
// blocks only the thread that shows it, so a worker may show one.
#pragma once

#include <string_view>

namespace velmora::model {

class Prompts {
public:
    virtual ~Prompts() = default;
    virtual void inform(std::string_view text) = 0;
    // With the exclamation mark: a failure the user should notice.
    virtual void warn(std::string_view text) = 0;
};

}  // namespace velmora::model

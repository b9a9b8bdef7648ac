// The notice line that runs across the top of the window.
#pragma once

namespace velmora::ui {

inline constexpr int kNoticeStep = 10;

// NoticeLabel's place, in pixels of the main window's client area, where it
// lies. The window implements it; the notice timer's handler uses it.
class NoticeLabel {
public:
    virtual ~NoticeLabel() = default;
    virtual int left() = 0;
    virtual void setLeft(int left) = 0;
    virtual int width() = 0;
    // The width of the client area the label runs across.
    virtual int areaWidth() = 0;
};

// The label's next left edge: 10 pixels further left, or the client width
// minus 10 once it has left the client area on the left side entirely.
int nextNoticeLeft(int left, int width, int clientWidth);

// One tick of the notice timer.
void moveNoticeOneStep(NoticeLabel& notice);

}  // namespace velmora::ui

#include "ui/notice_scroll.h"

#include <climits>

namespace velmora::ui {

int nextNoticeLeft(int left, int width, int clientWidth) {
    // 64-bit arithmetic: no overflow whatever the window reports.
    const long long moved = static_cast<long long>(left) - kNoticeStep;
    if (moved + width > 0) return static_cast<int>(moved);
    const long long reentry = static_cast<long long>(clientWidth) - kNoticeStep;
    return static_cast<int>(reentry < INT_MIN ? INT_MIN : reentry);
}

void moveNoticeOneStep(NoticeLabel& notice) {
    notice.setLeft(nextNoticeLeft(notice.left(), notice.width(), notice.areaWidth()));
}

}  // namespace velmora::ui

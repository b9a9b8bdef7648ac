// Puts a large text into the hidden RawResultEdit without holding the window
// thread: under Wine an edit box spends about 50 microseconds per line it
// takes, so 100,000 lines set at once would freeze the window for seconds.
// The text goes in as appended pieces of a few lines, each step bounded in
// time, driven by a window timer: timer messages come only when no input,
// paint or other message is waiting, so the feed never delays the user.
// The text is kept as the program's own text and each piece is converted as
// it goes in: a result of megabytes costs the window thread no long step.
// Window thread only.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <string_view>

namespace velmora::ui {

class RawResultFeeder {
public:
    static constexpr std::chrono::milliseconds kStepBudget{10};

    static constexpr UINT kTimerPeriodMs = 10;

    // `edit` receives the text; `timerOwner` gets the timer `timerId`, whose
    // ticks go to onTimer().
    void attach(HWND edit, HWND timerOwner, UINT_PTR timerId);
    void detach();

    // Replaces the edit box's text with `text`, which goes in over the
    // following ticks; what a previous call still had to put in is dropped.
    void replace(std::string text);
    void onTimer();

private:
    void step();

    HWND edit_ = nullptr;
    HWND timerOwner_ = nullptr;
    UINT_PTR timerId_ = 0;
    std::string pending_;
    std::size_t at_ = 0;
};

}  // namespace velmora::ui

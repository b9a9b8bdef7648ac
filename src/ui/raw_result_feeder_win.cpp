#include "ui/raw_result_feeder_win.h"

#include <chrono>
#include <utility>

#include "util/wide.h"

namespace velmora::ui {

namespace {

// Lines per appended piece: a few milliseconds of the edit box's work under
// Wine, so that a step ends close to its budget.
constexpr std::size_t kLinesPerPiece = 64;

// The end of the piece that starts at `from`: after kLinesPerPiece line ends,
// or the end of the text. A line-feed byte is never part of a two-byte
// character, so a piece never splits one.
std::size_t pieceEnd(const std::string& text, std::size_t from) {
    std::size_t at = from;
    for (std::size_t lines = 0; lines < kLinesPerPiece; ++lines) {
        const std::size_t end = text.find('\n', at);
        if (end == std::string::npos) return text.size();
        at = end + 1;
    }
    return at;
}

}  // namespace

void RawResultFeeder::attach(HWND edit, HWND timerOwner, UINT_PTR timerId) {
    edit_ = edit;
    timerOwner_ = timerOwner;
    timerId_ = timerId;
}

void RawResultFeeder::detach() {
    if (timerOwner_ != nullptr) KillTimer(timerOwner_, timerId_);
    edit_ = nullptr;
    timerOwner_ = nullptr;
    pending_ = std::string();
    at_ = 0;
}

void RawResultFeeder::replace(std::string text) {
    if (edit_ == nullptr) return;
    pending_ = std::move(text);
    at_ = 0;
    SetWindowTextW(edit_, L"");
    // The first piece waits for a tick too: the rows of the same result are
    // on their way, and they come first.
    SetTimer(timerOwner_, timerId_, kTimerPeriodMs, nullptr);
}

void RawResultFeeder::onTimer() { step(); }

void RawResultFeeder::step() {
    if (edit_ == nullptr) return;
    const auto start = std::chrono::steady_clock::now();
    while (at_ < pending_.size()) {
        const std::size_t end = pieceEnd(pending_, at_);
        const std::wstring piece = toWide(std::string_view(pending_).substr(at_, end - at_));
        const auto length = static_cast<WPARAM>(GetWindowTextLengthW(edit_));
        SendMessageW(edit_, EM_SETSEL, length, static_cast<LPARAM>(length));
        SendMessageW(edit_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
        at_ = end;
        if (std::chrono::steady_clock::now() - start >= kStepBudget) break;
    }
    if (at_ < pending_.size()) {
        SetTimer(timerOwner_, timerId_, kTimerPeriodMs, nullptr);
        return;
    }
    KillTimer(timerOwner_, timerId_);
    pending_ = std::string();
    at_ = 0;
}

}  // namespace velmora::ui

// Lazily built DFAs over a program's instructions, for patterns without
// assertions. Each unit then costs one table lookup once the states it meets
// are built.
//
// A forward state is the Pike VM's thread list without captures: threads in
// priority order, cut after the first Match, grouped into segments by the
// position they started at (oldest first). It finds where the
// leftmost-first match ends, and its start too whenever the match comes
// from the oldest segment and that segment has lived since the DFA last sat
// in its start state. Otherwise a reverse DFA, run back from the end, finds
// the start: the smallest start of any match ending there.
//
// Each cache has a memory budget; past it the caller falls back to the VM.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "util/regex/program.h"

namespace velmora::regex {

class LazyDfa {
public:
    // Decides whether a DFA can run the program (no assertions, few enough
    // distinct unit classes, a closure table of bounded size) and if so
    // fills in its unit classes; run once when compiling.
    static void prepare(Program& program);

    // The program must have dfaSuits set.
    explicit LazyDfa(const Program& program);

    enum class Outcome { Match, NoMatch, GaveUp };

    // The leftmost-first match starting at or after `from`: its end, and
    // its start when known (else npos). No match starts before `lowest`.
    Outcome findEnd(std::u16string_view subject, std::size_t from, std::size_t& end, std::size_t& start,
                    std::size_t& lowest);
    // Smallest start at or after `from` of a match ending at `end`.
    Outcome findStart(std::u16string_view subject, std::size_t from, std::size_t end, std::size_t& start);

private:
    struct State {
        std::uint32_t first = 0;  // into pool
        std::uint32_t count = 0;
        bool matched = false;        // forward: a match was seen, no new starts
        bool accepting = false;      // forward: Match among the threads; reverse: a match may start here
        bool matchInFront = false;   // forward: that Match is in the oldest segment
        bool fresh = false;          // forward: every thread began here (no older segment)
    };
    struct Cache {
        std::vector<State> states;
        std::vector<std::int32_t> pool;
        std::vector<std::uint32_t> next;  // states * classCount entries, kUnknown = not built yet
        std::unordered_map<std::string, std::int32_t> index;
    };

    // Table entries: the target's row offset times 16 plus these flags, so
    // the scan loop needs nothing but the table.
    static constexpr std::uint32_t kAccepting = 1;
    static constexpr std::uint32_t kDead = 2;          // no threads left
    static constexpr std::uint32_t kFrontDied = 4;     // the oldest segment ended on this step
    static constexpr std::uint32_t kMatchInFront = 8;
    static constexpr std::uint32_t kFresh = 16;
    static constexpr std::uint32_t kFlagMask = 31;
    static constexpr int kFlagShift = 5;
    static constexpr std::uint32_t kUnknown = 0xFFFFFFFF;  // has every flag: leaves the fast loop
    static constexpr std::int32_t kSegmentEnd = -1;    // closes a segment in a forward list

    void buildClosures();
    bool accepts(std::int32_t pc, int cls) const;
    void closure(std::int32_t pc, std::vector<std::int32_t>& out);
    std::int32_t intern(Cache& cache, const std::vector<std::int32_t>& list, const State& shape);
    std::int32_t forwardState(bool matched, bool fresh);
    std::int32_t forwardStep(std::int32_t from, int cls, bool& frontDied);
    std::int32_t reverseStep(std::int32_t from, int cls);
    bool overBudget(const Cache& cache) const;
    std::uint32_t entry(const Cache& cache, std::int32_t state) const;
    std::int32_t stateOf(std::uint32_t entryValue) const {
        return static_cast<std::int32_t>((entryValue >> kFlagShift) / static_cast<std::uint32_t>(classCount_));
    }
    std::uint32_t& slot(Cache& cache, std::int32_t state, int cls) const {
        return cache.next[static_cast<std::size_t>(state) * static_cast<std::size_t>(classCount_) +
                          static_cast<std::size_t>(cls)];
    }

    const Program& prog_;
    int classCount_ = 0;
    std::vector<std::uint32_t> mark_;
    std::uint32_t generation_ = 0;
    std::vector<std::int32_t> stack_;
    std::vector<std::int32_t> scratch_;
    // Reverse: for each consuming or Match pc t, the consuming pcs q whose
    // successor closure reaches t.
    std::vector<std::vector<std::int32_t>> preds_;
    std::vector<char> startReaches_;  // pcs in the closure of the start
    std::int32_t matchPc_ = -1;
    Cache forward_;
    Cache reverse_;
    std::int32_t forwardStart_ = -1;
    std::uint32_t startEntry_ = 0;
    std::int32_t reverseStart_ = -1;
};

}  // namespace velmora::regex

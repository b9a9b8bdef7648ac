// Finding matches: time linear in the subject for a given program, memory
// fixed once the matcher is made.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "util/regex/dfa.h"
#include "util/regex/program.h"

namespace velmora::regex {

enum class Engine {
    Fastest,  // the DFA where the program suits it, else the VM
    VmOnly,   // the VM alone (a reference for tests of the DFA)
};

// Pike VM: runs a compiled program over UTF-16 code units in one pass,
// keeping at most one thread per instruction. Patterns without assertions
// go through the lazy DFA first, which finds the match bounds; the VM then
// only runs for the groups, from the match start.
class Matcher {
public:
    explicit Matcher(const Program& program, Engine engine = Engine::Fastest);

    // The leftmost-first match that starts at or after `from` (<= size of
    // subject). On success slots[0..slotCount) hold start and end of the
    // match and of each group, -1 for a group that took no part.
    bool search(std::u16string_view subject, std::size_t from, std::int32_t* slots);

private:
    bool searchVm(std::u16string_view subject, std::size_t from, std::int32_t* slots);

    struct ThreadList {
        std::vector<std::int32_t> pcs;
        std::vector<std::int32_t> caps;  // slotCount per thread
        int size = 0;
    };
    struct Pending {
        std::int32_t pc;     // instruction to follow, or -1 to restore a slot
        std::int32_t slot;
        std::int32_t value;  // the slot's value to restore
    };

    void addThread(ThreadList& list, std::int32_t pc, std::int32_t pos, const std::int32_t* caps);
    bool assertionHolds(AssertKind kind, std::int32_t pos) const;
    void newGeneration();

    const Program& prog_;
    const int slotCount_;
    std::u16string_view subject_;
    ThreadList lists_[2];
    std::vector<std::uint32_t> mark_;  // generation in which each pc was last added
    std::uint32_t generation_ = 0;
    std::vector<Pending> pending_;
    std::vector<std::int32_t> work_;
    std::vector<std::int32_t> blank_;
    std::unique_ptr<LazyDfa> dfa_;
};

// Every match of one run: the subject they refer to and their slots.
struct MatchList {
    std::u16string subject;
    int groupCount = 0;
    std::vector<std::int32_t> slots;  // slotCount() per match

    int slotCount() const { return 2 * (groupCount + 1); }
    int count() const { return static_cast<int>(slots.size() / static_cast<std::size_t>(slotCount())); }
    // Start and end of group `group` (0 = the whole match) of match `index`
    // (from 0); -1 when the group took no part.
    std::int32_t start(int index, int group) const { return slots[at(index, group)]; }
    std::int32_t end(int index, int group) const { return slots[at(index, group) + 1]; }

private:
    std::size_t at(int index, int group) const {
        return static_cast<std::size_t>(index) * static_cast<std::size_t>(slotCount()) +
               2 * static_cast<std::size_t>(group);
    }
};

// The first match, or with `global` every match left to right without
// overlap; after an empty match the next search starts one character on
// (a surrogate pair counts as one character).
MatchList findAll(const Program& program, std::u16string subject, bool global,
                  Engine engine = Engine::Fastest);

}  // namespace velmora::regex

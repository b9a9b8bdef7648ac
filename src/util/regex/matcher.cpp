#include "util/regex/matcher.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace velmora::regex {

namespace {

bool isHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

Matcher::Matcher(const Program& program, Engine engine)
    : prog_(program),
      slotCount_(program.slotCount()),
      mark_(program.code.size(), 0),
      work_(static_cast<std::size_t>(program.slotCount())),
      blank_(static_cast<std::size_t>(program.slotCount()), -1) {
    for (ThreadList& list : lists_) {
        list.pcs.resize(static_cast<std::size_t>(program.threadCapacity));
        list.caps.resize(static_cast<std::size_t>(program.threadCapacity) *
                         static_cast<std::size_t>(slotCount_));
    }
    pending_.reserve(program.code.size() + 1);
    if (engine == Engine::Fastest && program.dfaSuits) {
        dfa_ = std::make_unique<LazyDfa>(program);
    }
}

void Matcher::newGeneration() {
    if (++generation_ == 0) {
        std::fill(mark_.begin(), mark_.end(), 0);
        generation_ = 1;
    }
}

bool Matcher::assertionHolds(AssertKind kind, std::int32_t pos) const {
    const auto n = static_cast<std::int32_t>(subject_.size());
    switch (kind) {
        case AssertKind::TextStart:
            return pos == 0;
        case AssertKind::TextEnd:
            return pos == n;
        case AssertKind::LineStart:
            return pos == 0 || isLineTerminator(subject_[pos - 1]);
        case AssertKind::LineEnd:
            return pos == n || isLineTerminator(subject_[pos]);
        case AssertKind::WordBoundary: case AssertKind::NotWordBoundary: {
            const bool before = pos > 0 && isWordChar(subject_[pos - 1]);
            const bool after = pos < n && isWordChar(subject_[pos]);
            return (before != after) == (kind == AssertKind::WordBoundary);
        }
    }
    return false;
}

// Follows every path from `pc` that consumes nothing, in priority order,
// and appends the threads it ends in. A pc already added in this generation
// was reached by a thread of higher priority and is skipped. Slot changes
// made by Save are undone by entries on the pending stack.
void Matcher::addThread(ThreadList& list, std::int32_t pc, std::int32_t pos,
                        const std::int32_t* caps) {
    const std::size_t capBytes = sizeof(std::int32_t) * static_cast<std::size_t>(slotCount_);
    std::memcpy(work_.data(), caps, capBytes);
    pending_.clear();
    pending_.push_back({pc, 0, 0});
    while (!pending_.empty()) {
        const Pending next = pending_.back();
        pending_.pop_back();
        if (next.pc < 0) {
            work_[next.slot] = next.value;
            continue;
        }
        std::int32_t at = next.pc;
        // Walk straight-line epsilon chains without touching the stack.
        while (true) {
            if (mark_[at] == generation_) break;
            mark_[at] = generation_;
            const Inst& inst = prog_.code[at];
            if (inst.op == Op::Jmp) {
                at = inst.x;
                continue;
            }
            if (inst.op == Op::Split) {
                pending_.push_back({inst.y, 0, 0});
                at = inst.x;
                continue;
            }
            if (inst.op == Op::Save) {
                pending_.push_back({-1, inst.y, work_[inst.y]});
                work_[inst.y] = pos;
                at = inst.x;
                continue;
            }
            if (inst.op == Op::Assert) {
                if (!assertionHolds(inst.assertion, pos)) break;
                at = inst.x;
                continue;
            }
            const int index = list.size++;
            list.pcs[index] = at;
            std::memcpy(&list.caps[static_cast<std::size_t>(index) * static_cast<std::size_t>(slotCount_)],
                        work_.data(), capBytes);
            break;
        }
    }
}

bool Matcher::search(std::u16string_view subject, std::size_t from, std::int32_t* slots) {
    if (dfa_) {
        std::size_t end = 0;
        std::size_t start = 0;
        std::size_t lowest = from;
        LazyDfa::Outcome outcome = dfa_->findEnd(subject, from, end, start, lowest);
        if (outcome == LazyDfa::Outcome::NoMatch) return false;
        if (outcome == LazyDfa::Outcome::Match && start == std::u16string_view::npos) {
            outcome = dfa_->findStart(subject, lowest, end, start);
        }
        if (outcome == LazyDfa::Outcome::Match) {
            if (prog_.groupCount == 0) {
                slots[0] = static_cast<std::int32_t>(start);
                slots[1] = static_cast<std::int32_t>(end);
                return true;
            }
            // No match begins before `start`, so the VM needs no earlier look.
            from = start;
        } else {
            dfa_.reset();  // its cache outgrew the budget: the VM from here on
        }
    }
    return searchVm(subject, from, slots);
}

bool Matcher::searchVm(std::u16string_view subject, std::size_t from, std::int32_t* slots) {
    subject_ = subject;
    const auto n = static_cast<std::int32_t>(subject.size());
    auto pos = static_cast<std::int32_t>(from);
    ThreadList* current = &lists_[0];
    ThreadList* next = &lists_[1];
    current->size = 0;
    bool matched = false;
    const std::vector<CompiledClass>& classes = prog_.classes;
    const std::size_t stride = static_cast<std::size_t>(slotCount_);

    while (true) {
        if (!matched) {
            if (current->size == 0) {
                if (prog_.hasFirstUnits) {
                    while (pos < n && !prog_.canStartWith(subject[pos])) ++pos;
                    if (pos >= n) break;  // a match needs at least one unit
                }
                newGeneration();
            }
            // The unanchored prefix: a new start at this position, with the
            // lowest priority of all threads here.
            addThread(*current, 0, pos, blank_.data());
        }
        if (current->size == 0) {
            if (matched || pos >= n) break;
            ++pos;  // nothing can start here
            continue;
        }
        newGeneration();
        next->size = 0;
        const int c = pos < n ? subject[pos] : -1;
        for (int i = 0; i < current->size; ++i) {
            const Inst& inst = prog_.code[current->pcs[i]];
            const std::int32_t* caps = &current->caps[static_cast<std::size_t>(i) * stride];
            bool step = false;
            switch (inst.op) {
                case Op::Match:
                    std::memcpy(slots, caps, sizeof(std::int32_t) * stride);
                    matched = true;
                    break;
                case Op::Char:
                    step = c == inst.c1 || c == inst.c2;
                    break;
                case Op::Class:
                    step = c >= 0 && classes[inst.y].contains(static_cast<char16_t>(c));
                    break;
                case Op::AnyButNewline:
                    step = c >= 0 && !isLineTerminator(static_cast<char16_t>(c));
                    break;
                default:
                    break;
            }
            if (inst.op == Op::Match) break;  // lower-priority threads lose
            if (step) addThread(*next, inst.x, pos + 1, caps);
        }
        if (pos >= n) break;
        std::swap(current, next);
        ++pos;
    }
    return matched;
}

MatchList findAll(const Program& program, std::u16string subject, bool global, Engine engine) {
    MatchList list;
    list.subject = std::move(subject);
    list.groupCount = program.groupCount;
    const std::u16string_view s = list.subject;
    if (s.size() >= static_cast<std::size_t>(INT32_MAX)) {
        return list;  // positions are 32-bit; no such subject reaches us
    }
    Matcher matcher(program, engine);
    std::vector<std::int32_t> slots(static_cast<std::size_t>(program.slotCount()));
    std::size_t pos = 0;
    while (pos <= s.size() && matcher.search(s, pos, slots.data())) {
        list.slots.insert(list.slots.end(), slots.begin(), slots.end());
        if (!global) break;
        const auto start = static_cast<std::size_t>(slots[0]);
        pos = static_cast<std::size_t>(slots[1]);
        if (pos == start) {
            const bool pair = pos + 1 < s.size() && isHighSurrogate(s[pos]) && isLowSurrogate(s[pos + 1]);
            pos += pair ? 2 : 1;
        }
    }
    return list;
}

}  // namespace velmora::regex

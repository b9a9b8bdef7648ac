#include "util/regex/dfa.h"

#include <algorithm>

namespace velmora::regex {

namespace {

constexpr int kMaxClasses = 256;
constexpr std::size_t kMaxCode = 4096;
constexpr int kMaxThreads = 1024;
constexpr std::size_t kCacheBudgetBytes = std::size_t{8} << 20;

// Unit positions where some instruction's test can change its answer,
// ascending, 0 first: each starts a class of units that every instruction
// treats alike.
std::vector<unsigned> classCuts(const Program& prog) {
    std::vector<unsigned> cuts{0};
    const auto cutAt = [&cuts](unsigned c) {
        if (c < 65536) cuts.push_back(c);
    };
    for (const Inst& inst : prog.code) {
        switch (inst.op) {
            case Op::Char:
                for (unsigned c : {unsigned{inst.c1}, unsigned{inst.c2}}) {
                    cutAt(c);
                    cutAt(c + 1);
                }
                break;
            case Op::Class: {
                const CompiledClass& cls = prog.classes[inst.y];
                // Where membership changes below 128, and at 128 if unit 127 is in.
                const auto& bits = cls.asciiBits();
                const auto in = [&bits](unsigned c) { return c < 128 && ((bits[c >> 6] >> (c & 63)) & 1) != 0; };
                if (bits[0] != 0 || bits[1] != 0) {
                    for (unsigned c = 1; c <= 128; ++c) {
                        if (in(c - 1) != in(c)) cutAt(c);
                    }
                }
                for (const CodeRange& r : cls.ranges()) {
                    cutAt(r.first);
                    cutAt(unsigned{r.last} + 1);
                }
                break;
            }
            case Op::AnyButNewline:
                for (unsigned c : {0x0Au, 0x0Du, 0x2028u, 0x2029u}) {
                    cutAt(c);
                    cutAt(c + 1);
                }
                break;
            default:
                break;
        }
    }
    std::sort(cuts.begin(), cuts.end());
    cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
    return cuts;
}

}  // namespace

void LazyDfa::prepare(Program& prog) {
    prog.dfaSuits = false;
    if (prog.code.size() > kMaxCode || prog.threadCapacity > kMaxThreads) return;
    for (const Inst& inst : prog.code) {
        if (inst.op == Op::Assert) return;
    }
    const std::vector<unsigned> cuts = classCuts(prog);
    if (cuts.size() > kMaxClasses) return;
    prog.unitClass.resize(65536);
    prog.classRepresentative.clear();
    for (std::size_t cls = 0; cls < cuts.size(); ++cls) {
        const unsigned end = cls + 1 < cuts.size() ? cuts[cls + 1] : 65536;
        std::fill(prog.unitClass.begin() + cuts[cls], prog.unitClass.begin() + end,
                  static_cast<std::uint8_t>(cls));
        prog.classRepresentative.push_back(static_cast<char16_t>(cuts[cls]));
    }
    prog.dfaSuits = true;
}

LazyDfa::LazyDfa(const Program& program)
    : prog_(program),
      classCount_(static_cast<int>(program.classRepresentative.size())),
      mark_(program.code.size(), 0) {
    for (std::size_t pc = 0; pc < program.code.size(); ++pc) {
        if (program.code[pc].op == Op::Match) matchPc_ = static_cast<std::int32_t>(pc);
    }
}

bool LazyDfa::accepts(std::int32_t pc, int cls) const {
    const Inst& inst = prog_.code[pc];
    const char16_t u = prog_.classRepresentative[cls];
    switch (inst.op) {
        case Op::Char: return u == inst.c1 || u == inst.c2;
        case Op::Class: return prog_.classes[inst.y].contains(u);
        case Op::AnyButNewline: return !isLineTerminator(u);
        default: return false;
    }
}

// Appends, in priority order, the consuming and Match instructions reached
// from `pc` without consuming, skipping any already reached in this
// generation.
void LazyDfa::closure(std::int32_t pc, std::vector<std::int32_t>& out) {
    stack_.clear();
    stack_.push_back(pc);
    while (!stack_.empty()) {
        std::int32_t at = stack_.back();
        stack_.pop_back();
        while (mark_[at] != generation_) {
            mark_[at] = generation_;
            const Inst& inst = prog_.code[at];
            if (inst.op == Op::Split) {
                stack_.push_back(inst.y);
                at = inst.x;
            } else if (inst.op == Op::Jmp || inst.op == Op::Save || inst.op == Op::Assert) {
                at = inst.x;
            } else {
                out.push_back(at);
                break;
            }
        }
    }
}

// Only the reverse DFA needs these, and most searches never run it: built on
// its first run.
void LazyDfa::buildClosures() {
    preds_.resize(prog_.code.size());
    startReaches_.assign(prog_.code.size(), 0);
    for (std::size_t q = 0; q < prog_.code.size(); ++q) {
        const Op op = prog_.code[q].op;
        if (op != Op::Char && op != Op::Class && op != Op::AnyButNewline) continue;
        ++generation_;
        scratch_.clear();
        closure(prog_.code[q].x, scratch_);
        for (std::int32_t t : scratch_) preds_[t].push_back(static_cast<std::int32_t>(q));
    }
    ++generation_;
    scratch_.clear();
    closure(0, scratch_);
    for (std::int32_t t : scratch_) startReaches_[t] = 1;
}

std::int32_t LazyDfa::intern(Cache& cache, const std::vector<std::int32_t>& list, const State& shape) {
    std::string key(reinterpret_cast<const char*>(list.data()), list.size() * sizeof(std::int32_t));
    key.push_back(static_cast<char>((shape.matched ? 1 : 0) | (shape.fresh ? 2 : 0)));
    auto [it, inserted] = cache.index.try_emplace(std::move(key), static_cast<std::int32_t>(cache.states.size()));
    if (inserted) {
        State st = shape;
        st.first = static_cast<std::uint32_t>(cache.pool.size());
        st.count = static_cast<std::uint32_t>(list.size());
        cache.states.push_back(st);
        cache.pool.insert(cache.pool.end(), list.begin(), list.end());
        cache.next.resize(cache.next.size() + static_cast<std::size_t>(classCount_), kUnknown);
    }
    return it->second;
}

bool LazyDfa::overBudget(const Cache& cache) const {
    const std::size_t bytes = cache.states.size() * (sizeof(State) + 64) +
                              cache.pool.size() * sizeof(std::int32_t) * 2 +
                              cache.next.size() * sizeof(std::int32_t);
    return bytes > kCacheBudgetBytes;
}

std::uint32_t LazyDfa::entry(const Cache& cache, std::int32_t state) const {
    const State& st = cache.states[state];
    std::uint32_t flags = 0;
    if (st.accepting) flags |= kAccepting;
    if (st.matchInFront) flags |= kMatchInFront;
    if (st.fresh) flags |= kFresh;
    if (st.count == 0) flags |= kDead;
    return (static_cast<std::uint32_t>(state) * static_cast<std::uint32_t>(classCount_) << kFlagShift) | flags;
}

// Interns scratch_ as a forward state: cut after the first Match, each
// segment closed by kSegmentEnd.
std::int32_t LazyDfa::forwardState(bool matched, bool fresh) {
    State shape;
    shape.matched = matched;
    shape.fresh = fresh;
    auto match = std::find(scratch_.begin(), scratch_.end(), matchPc_);
    if (match != scratch_.end()) {
        shape.accepting = true;
        shape.matchInFront = std::find(scratch_.begin(), match, kSegmentEnd) == match;
        scratch_.erase(match + 1, scratch_.end());
        scratch_.push_back(kSegmentEnd);
    }
    return intern(forward_, scratch_, shape);
}

// Threads of state `from` that accept the class move on, segment by
// segment; a Match cuts off everything of lower priority and ends new
// starts; while no match was seen, a new segment starts here.
std::int32_t LazyDfa::forwardStep(std::int32_t from, int cls, bool& frontDied) {
    const State st = forward_.states[from];
    ++generation_;
    scratch_.clear();
    std::size_t segmentBegin = 0;
    bool front = true;
    frontDied = false;
    auto closeSegment = [&] {
        if (scratch_.size() > segmentBegin) {
            scratch_.push_back(kSegmentEnd);
            segmentBegin = scratch_.size();
        } else if (front) {
            frontDied = true;
        }
        front = false;
    };
    for (std::uint32_t i = 0; i < st.count; ++i) {
        const std::int32_t pc = forward_.pool[st.first + i];
        if (pc == kSegmentEnd) {
            closeSegment();
        } else if (pc == matchPc_) {
            break;
        } else if (accepts(pc, cls)) {
            closure(prog_.code[pc].x, scratch_);
        }
    }
    if (st.accepting) closeSegment();  // the segment cut at the Match
    const bool matched = st.matched || st.accepting;
    // Threads that began here must not be mistaken for older ones that sit
    // on the same instructions, so a state made of new threads only is
    // marked as such.
    const bool fresh = !matched && scratch_.empty();
    if (!matched) {
        closure(0, scratch_);
        if (scratch_.size() > segmentBegin) scratch_.push_back(kSegmentEnd);
    }
    return forwardState(matched, fresh);
}

std::int32_t LazyDfa::reverseStep(std::int32_t from, int cls) {
    const State st = reverse_.states[from];
    ++generation_;
    scratch_.clear();
    State shape;
    for (std::uint32_t i = 0; i < st.count; ++i) {
        for (std::int32_t q : preds_[reverse_.pool[st.first + i]]) {
            if (mark_[q] == generation_ || !accepts(q, cls)) continue;
            mark_[q] = generation_;
            scratch_.push_back(q);
            shape.accepting = shape.accepting || startReaches_[q];
        }
    }
    std::sort(scratch_.begin(), scratch_.end());
    return intern(reverse_, scratch_, shape);
}

LazyDfa::Outcome LazyDfa::findEnd(std::u16string_view subject, std::size_t from, std::size_t& end,
                                  std::size_t& start, std::size_t& lowest) {
    if (forwardStart_ < 0) {
        ++generation_;
        scratch_.clear();
        closure(0, scratch_);
        scratch_.push_back(kSegmentEnd);
        forwardStart_ = forwardState(false, true);
        startEntry_ = entry(forward_, forwardStart_);
    }
    constexpr std::size_t npos = std::u16string_view::npos;
    const std::size_t n = subject.size();
    const char16_t* s = subject.data();
    const std::uint8_t* classOf = prog_.unitClass.data();
    const std::uint32_t* table = forward_.next.data();
    const std::uint32_t startEntry = startEntry_;
    std::uint32_t e = startEntry;
    std::size_t pos = from;
    std::size_t matchEnd = npos;
    std::size_t matchStart = npos;
    std::size_t front = from;  // where the oldest segment began, while frontKnown
    bool frontKnown = true;
    while (true) {
        if (e & kFresh) {
            // The start state leads back to itself on every unit that
            // cannot begin a match.
            if (e == startEntry && prog_.hasFirstUnits) {
                while (pos < n && !prog_.canStartWith(s[pos])) ++pos;
            }
            front = pos;
            frontKnown = true;
        } else if (e & kDead) {
            break;
        }
        if (e & kAccepting) {
            matchEnd = pos;
            matchStart = frontKnown && (e & kMatchInFront) ? front : npos;
        }
        // Steps into built states that need no more than recording a match
        // end stay in this loop.
        std::uint32_t t = 0;
        int cls = 0;
        while (pos < n) {
            cls = classOf[s[pos]];
            t = table[(e >> kFlagShift) + static_cast<std::uint32_t>(cls)];
            if (t & kFlagMask) {
                if (t & (kDead | kFrontDied | kFresh)) break;  // kUnknown included
                matchEnd = pos + 1;
                matchStart = frontKnown && (t & kMatchInFront) ? front : npos;
            }
            e = t;
            ++pos;
        }
        if (pos >= n) break;
        if (t == kUnknown) {
            const std::int32_t cur = stateOf(e);
            bool frontDied = false;
            const std::int32_t nx = forwardStep(cur, cls, frontDied);
            t = entry(forward_, nx) | (frontDied ? kFrontDied : 0);
            slot(forward_, cur, cls) = t;
            table = forward_.next.data();
            if (overBudget(forward_)) return Outcome::GaveUp;
        }
        e = t;
        ++pos;
        if (e & kFrontDied) frontKnown = false;
    }
    lowest = front;
    if (matchEnd == npos) return Outcome::NoMatch;
    end = matchEnd;
    start = matchStart;
    return Outcome::Match;
}

LazyDfa::Outcome LazyDfa::findStart(std::u16string_view subject, std::size_t from, std::size_t end,
                                    std::size_t& start) {
    if (reverseStart_ < 0) {
        buildClosures();
        State shape;
        shape.accepting = startReaches_[matchPc_] != 0;
        reverseStart_ = intern(reverse_, {matchPc_}, shape);
    }
    const char16_t* s = subject.data();
    const std::uint8_t* classOf = prog_.unitClass.data();
    const std::uint32_t* table = reverse_.next.data();
    std::uint32_t e = entry(reverse_, reverseStart_);
    bool found = (e & kAccepting) != 0;
    start = end;
    for (std::size_t pos = end; pos > from;) {
        --pos;
        const int cls = classOf[s[pos]];
        std::uint32_t t = table[(e >> kFlagShift) + static_cast<std::uint32_t>(cls)];
        if (t == kUnknown) {
            const std::int32_t cur = stateOf(e);
            t = entry(reverse_, reverseStep(cur, cls));
            slot(reverse_, cur, cls) = t;
            table = reverse_.next.data();
            if (overBudget(reverse_)) return Outcome::GaveUp;
        }
        e = t;
        if (e & kDead) break;
        if (e & kAccepting) {
            found = true;
            start = pos;
        }
    }
    return found ? Outcome::Match : Outcome::NoMatch;
}

}  // namespace velmora::regex

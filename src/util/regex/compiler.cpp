// Syntax tree to Pike VM instructions. Emission runs off a heap stack of
// actions rather than recursion, and the size of the expanded program is
// known before a single instruction is written, so {m,n} can never blow up.
#include <algorithm>
#include <cstdint>

#include "util/regex/dfa.h"
#include "util/regex/parser.h"
#include "util/regex/program.h"

namespace velmora::regex {

namespace {

constexpr std::int64_t kTooBig = std::int64_t{kMaxInstructions} + 1;

std::int64_t capped(std::int64_t v) { return std::min(v, kTooBig); }

// Instructions each node expands to; parents follow children in the node
// vector, so one forward pass suffices.
std::vector<std::int64_t> nodeSizes(const Ast& ast) {
    std::vector<std::int64_t> size(ast.nodes.size(), 0);
    for (std::size_t i = 0; i < ast.nodes.size(); ++i) {
        const Node& n = ast.nodes[i];
        std::int64_t s = 0;
        switch (n.kind) {
            case NodeKind::Empty:
                break;
            case NodeKind::Char: case NodeKind::Class: case NodeKind::AnyButNewline:
            case NodeKind::Assert:
                s = 1;
                break;
            case NodeKind::Group:
                s = size[n.child] + (n.capture > 0 ? 2 : 0);
                break;
            case NodeKind::Concat: case NodeKind::Alternate:
                for (int k = 0; k < n.childCount; ++k) {
                    s = capped(s + size[ast.children[n.firstChild + k]]);
                }
                if (n.kind == NodeKind::Alternate) {
                    s += 2 * (n.childCount - 1);
                }
                break;
            case NodeKind::Repeat: {
                const std::int64_t c = size[n.child];
                if (c == 0) break;
                if (n.max < 0) {
                    s = n.min == 0 ? c + 2 : n.min * c + 1;
                } else {
                    s = n.min * c + (n.max - n.min) * (c + 1);
                }
                break;
            }
        }
        size[i] = capped(s);
    }
    return size;
}

enum class ActionKind {
    Node,          // emit node a
    Save,          // emit Save of slot a
    Mark,          // label a := pc
    SplitForward,  // label a := pc; emit Split into the next instruction, exit patched later; b = greedy
    SplitBack,     // emit Split back to label a or on; b = greedy
    JmpBack,       // emit Jmp to label a
    JmpForward,    // label a := pc; emit Jmp patched later
    PatchExit,     // the Split or Jmp at label a leaves to pc
};

struct Action {
    ActionKind kind;
    int a = 0;
    int b = 0;
};

class Emitter {
public:
    Emitter(const Ast& ast, const std::vector<std::int64_t>& sizes, Program& prog)
        : ast_(ast), sizes_(sizes), prog_(prog) {}

    void run(int root) {
        push(ActionKind::Node, root);
        while (!stack_.empty()) {
            const Action act = stack_.back();
            stack_.pop_back();
            perform(act);
        }
    }

private:
    int pc() const { return static_cast<int>(prog_.code.size()); }
    int newLabel() {
        labels_.push_back(0);
        return static_cast<int>(labels_.size()) - 1;
    }
    void push(ActionKind kind, int a = 0, int b = 0) { stack_.push_back({kind, a, b}); }
    void emit(Inst inst) {
        if (inst.op != Op::Split && inst.op != Op::Jmp) {
            inst.x = pc() + 1;
        }
        prog_.code.push_back(inst);
    }

    void perform(const Action& act);
    void emitNode(int index);
    void emitAlternate(const Node& n);
    void emitRepeat(const Node& n);

    const Ast& ast_;
    const std::vector<std::int64_t>& sizes_;
    Program& prog_;
    std::vector<Action> stack_;
    std::vector<int> labels_;
};

void Emitter::perform(const Action& act) {
    switch (act.kind) {
        case ActionKind::Node:
            emitNode(act.a);
            break;
        case ActionKind::Save:
            emit({Op::Save, AssertKind::TextStart, 0, 0, 0, act.a});
            break;
        case ActionKind::Mark:
            labels_[act.a] = pc();
            break;
        case ActionKind::SplitForward:
            labels_[act.a] = pc();
            emit({Op::Split, AssertKind::TextStart, 0, 0, act.b ? pc() + 1 : -1,
                  act.b ? -1 : pc() + 1});
            break;
        case ActionKind::SplitBack: {
            const int body = labels_[act.a];
            emit({Op::Split, AssertKind::TextStart, 0, 0, act.b ? body : pc() + 1,
                  act.b ? pc() + 1 : body});
            break;
        }
        case ActionKind::JmpBack:
            emit({Op::Jmp, AssertKind::TextStart, 0, 0, labels_[act.a], 0});
            break;
        case ActionKind::JmpForward:
            labels_[act.a] = pc();
            emit({Op::Jmp, AssertKind::TextStart, 0, 0, -1, 0});
            break;
        case ActionKind::PatchExit: {
            Inst& inst = prog_.code[labels_[act.a]];
            (inst.x < 0 ? inst.x : inst.y) = pc();
            break;
        }
    }
}

void Emitter::emitNode(int index) {
    const Node& n = ast_.nodes[index];
    switch (n.kind) {
        case NodeKind::Empty:
            break;
        case NodeKind::Char:
            emit({Op::Char, AssertKind::TextStart, n.ch, n.ch2, 0, 0});
            break;
        case NodeKind::Class:
            emit({Op::Class, AssertKind::TextStart, 0, 0, 0, n.classIndex});
            break;
        case NodeKind::AnyButNewline:
            emit({Op::AnyButNewline, AssertKind::TextStart, 0, 0, 0, 0});
            break;
        case NodeKind::Assert:
            emit({Op::Assert, n.assertion, 0, 0, 0, 0});
            break;
        case NodeKind::Group:
            if (n.capture > 0) {
                emit({Op::Save, AssertKind::TextStart, 0, 0, 0, 2 * n.capture});
                push(ActionKind::Save, 2 * n.capture + 1);
            }
            push(ActionKind::Node, n.child);
            break;
        case NodeKind::Concat:
            for (int k = n.childCount - 1; k >= 0; --k) {
                push(ActionKind::Node, ast_.children[n.firstChild + k]);
            }
            break;
        case NodeKind::Alternate:
            emitAlternate(n);
            break;
        case NodeKind::Repeat:
            emitRepeat(n);
            break;
    }
}

// Split(first branch, next split) branch Jmp(end) ... last branch, end.
// Actions are pushed last-first since the stack runs them in reverse.
void Emitter::emitAlternate(const Node& n) {
    std::vector<Action> seq;
    std::vector<int> jumps;
    for (int k = 0; k < n.childCount; ++k) {
        const int child = ast_.children[n.firstChild + k];
        if (k + 1 < n.childCount) {
            const int split = newLabel();
            const int jump = newLabel();
            jumps.push_back(jump);
            seq.push_back({ActionKind::SplitForward, split, 1});
            seq.push_back({ActionKind::Node, child});
            seq.push_back({ActionKind::JmpForward, jump});
            seq.push_back({ActionKind::PatchExit, split});
        } else {
            seq.push_back({ActionKind::Node, child});
        }
    }
    for (int jump : jumps) {
        seq.push_back({ActionKind::PatchExit, jump});
    }
    stack_.insert(stack_.end(), seq.rbegin(), seq.rend());
}

// x{m,} is m-1 copies then x+ (a loop that needs no emptiness check to
// terminate); x* is the classic split loop; x{m,n} is m copies then n-m
// nested optional copies that all leave to the same end.
void Emitter::emitRepeat(const Node& n) {
    if (sizes_[n.child] == 0) {
        return;
    }
    const int greedy = n.greedy ? 1 : 0;
    std::vector<Action> seq;
    if (n.max < 0 && n.min == 0) {
        const int split = newLabel();
        seq.push_back({ActionKind::SplitForward, split, greedy});
        seq.push_back({ActionKind::Node, n.child});
        seq.push_back({ActionKind::JmpBack, split});
        seq.push_back({ActionKind::PatchExit, split});
    } else if (n.max < 0) {
        for (int k = 0; k + 1 < n.min; ++k) {
            seq.push_back({ActionKind::Node, n.child});
        }
        const int body = newLabel();
        seq.push_back({ActionKind::Mark, body});
        seq.push_back({ActionKind::Node, n.child});
        seq.push_back({ActionKind::SplitBack, body, greedy});
    } else {
        for (int k = 0; k < n.min; ++k) {
            seq.push_back({ActionKind::Node, n.child});
        }
        std::vector<int> splits;
        for (int k = n.min; k < n.max; ++k) {
            const int split = newLabel();
            splits.push_back(split);
            seq.push_back({ActionKind::SplitForward, split, greedy});
            seq.push_back({ActionKind::Node, n.child});
        }
        for (int split : splits) {
            seq.push_back({ActionKind::PatchExit, split});
        }
    }
    stack_.insert(stack_.end(), seq.rbegin(), seq.rend());
}

bool consumes(Op op) {
    return op == Op::Char || op == Op::Class || op == Op::AnyButNewline || op == Op::Match;
}

// A word of bits at a time: a class's ranges can span most of the 65536 units.
void addToSet(std::vector<std::uint64_t>& set, unsigned first, unsigned last) {
    for (unsigned c = first; c <= last;) {
        const unsigned bit = c & 63;
        const unsigned span = std::min(64 - bit, last - c + 1);
        const std::uint64_t bits = span == 64 ? ~std::uint64_t{0} : ((std::uint64_t{1} << span) - 1) << bit;
        set[c >> 6] |= bits;
        c += span;
    }
}

// The units a match can begin with, found by walking the instructions a
// match can reach without consuming (assertions taken as passing). No
// filter when the pattern can match the empty text.
void computeFirstUnits(Program& prog) {
    std::vector<std::uint64_t> set(65536 / 64, 0);
    std::vector<char> seen(prog.code.size(), 0);
    std::vector<int> todo{0};
    while (!todo.empty()) {
        const int pc = todo.back();
        todo.pop_back();
        if (seen[pc]) continue;
        seen[pc] = 1;
        const Inst& inst = prog.code[pc];
        switch (inst.op) {
            case Op::Match:
                return;
            case Op::Char:
                addToSet(set, inst.c1, inst.c1);
                addToSet(set, inst.c2, inst.c2);
                break;
            case Op::Class:
                set[0] |= prog.classes[inst.y].asciiBits()[0];
                set[1] |= prog.classes[inst.y].asciiBits()[1];
                for (const CodeRange& r : prog.classes[inst.y].ranges()) {
                    addToSet(set, r.first, r.last);
                }
                break;
            case Op::AnyButNewline:
                addToSet(set, 0, 0xFFFF);
                break;
            case Op::Split:
                todo.push_back(inst.y);
                todo.push_back(inst.x);
                break;
            case Op::Jmp: case Op::Save: case Op::Assert:
                todo.push_back(inst.x);
                break;
        }
    }
    prog.hasFirstUnits = true;
    prog.firstUnits = std::move(set);
}

}  // namespace

std::shared_ptr<const Program> compile(std::u16string_view pattern, const Options& options,
                                       CompileError* error) {
    auto fail = [&](CompileError e) {
        if (error) *error = e;
        return std::shared_ptr<const Program>{};
    };
    Ast ast;
    if (CompileError e = parse(pattern, options, ast); e != CompileError::None) {
        return fail(e);
    }
    const std::vector<std::int64_t> sizes = nodeSizes(ast);
    if (sizes[ast.root] + 3 > kMaxInstructions) {
        return fail(CompileError::TooLarge);
    }
    auto prog = std::make_shared<Program>();
    prog->groupCount = ast.groupCount;
    prog->classes.reserve(ast.classes.size());
    for (const CharClass& c : ast.classes) {
        prog->classes.emplace_back(c);
    }
    prog->code.reserve(static_cast<std::size_t>(sizes[ast.root]) + 3);
    prog->code.push_back({Op::Save, AssertKind::TextStart, 0, 0, 1, 0});
    Emitter(ast, sizes, *prog).run(ast.root);
    prog->code.push_back({Op::Save, AssertKind::TextStart, 0, 0, static_cast<int>(prog->code.size()) + 1, 1});
    prog->code.push_back({Op::Match, AssertKind::TextStart, 0, 0, 0, 0});
    prog->threadCapacity = static_cast<int>(
        std::count_if(prog->code.begin(), prog->code.end(), [](const Inst& i) { return consumes(i.op); }));
    if (static_cast<std::size_t>(prog->threadCapacity) * static_cast<std::size_t>(prog->slotCount()) >
        kMaxThreadSlots) {
        return fail(CompileError::TooLarge);
    }
    computeFirstUnits(*prog);
    LazyDfa::prepare(*prog);
    if (error) *error = CompileError::None;
    return prog;
}

}  // namespace velmora::regex

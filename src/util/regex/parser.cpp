#include "util/regex/parser.h"

#include <optional>
#include <utility>

namespace velmora::regex {

namespace {

struct Frame {
    int capture = 0;  // 0 for the whole pattern and for (?:...)
    std::vector<int> alternatives;
    std::vector<int> sequence;
};

int hexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

bool isOctal(char16_t c) { return c >= u'0' && c <= u'7'; }

bool isAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// What one escape sequence stands for: a single unit, a predefined class, or
// (outside classes) an assertion.
struct Escape {
    enum class Kind { Unit, Class, Assert } kind = Kind::Unit;
    char16_t unit = 0;
    CharClass cls;
    AssertKind assertion = AssertKind::WordBoundary;
};

class Parser {
public:
    Parser(std::u16string_view pattern, const Options& options, Ast& ast)
        : p_(pattern), options_(options), ast_(ast) {}

    CompileError run();

private:
    bool atEnd() const { return pos_ >= p_.size(); }
    char16_t peek(std::size_t ahead = 0) const {
        return pos_ + ahead < p_.size() ? p_[pos_ + ahead] : u'\0';
    }
    bool has(std::size_t ahead) const { return pos_ + ahead < p_.size(); }

    int addNode(Node n) {
        ast_.nodes.push_back(n);
        return static_cast<int>(ast_.nodes.size()) - 1;
    }
    int addList(NodeKind kind, const std::vector<int>& items);
    int addUnit(char16_t c);
    int addClass(CharClass cls, bool negated);
    int addAssert(AssertKind kind);

    CompileError openGroup();
    CompileError closeGroup();
    int finishFrame(Frame& f);
    CompileError quantify(int min, int max);
    std::optional<std::pair<int, int>> countedQuantifier(std::size_t& length) const;
    CompileError parseEscape(bool inClass, Escape& out);
    CompileError parseClass();
    CompileError parseClassAtom(Escape& out);

    std::u16string_view p_;
    const Options& options_;
    Ast& ast_;
    std::size_t pos_ = 0;
    std::vector<Frame> stack_;
};

int Parser::addList(NodeKind kind, const std::vector<int>& items) {
    if (items.empty()) {
        return addNode(Node{});
    }
    if (items.size() == 1) {
        return items.front();
    }
    Node n;
    n.kind = kind;
    n.firstChild = static_cast<int>(ast_.children.size());
    n.childCount = static_cast<int>(items.size());
    ast_.children.insert(ast_.children.end(), items.begin(), items.end());
    return addNode(n);
}

int Parser::addUnit(char16_t c) {
    Node n;
    n.kind = NodeKind::Char;
    n.ch = c;
    n.ch2 = options_.ignoreCase ? otherCase(c) : c;
    return addNode(n);
}

int Parser::addClass(CharClass cls, bool negated) {
    cls.normalize();
    if (options_.ignoreCase) {
        cls.addCaseVariants();
    }
    if (negated) {
        cls.negate();
    }
    ast_.classes.push_back(std::move(cls));
    Node n;
    n.kind = NodeKind::Class;
    n.classIndex = static_cast<int>(ast_.classes.size()) - 1;
    return addNode(n);
}

int Parser::addAssert(AssertKind kind) {
    Node n;
    n.kind = NodeKind::Assert;
    n.assertion = kind;
    return addNode(n);
}

int Parser::finishFrame(Frame& f) {
    f.alternatives.push_back(addList(NodeKind::Concat, f.sequence));
    f.sequence.clear();
    return addList(NodeKind::Alternate, f.alternatives);
}

CompileError Parser::openGroup() {
    if (static_cast<int>(stack_.size()) > kMaxNesting) {
        return CompileError::TooLarge;
    }
    Frame f;
    if (peek(1) == u'?') {
        if (peek(2) != u':') {
            // (?= (?! (?<= (?<! and named groups: not linear or not ours.
            return has(2) ? CompileError::Unsupported : CompileError::Syntax;
        }
        pos_ += 3;
    } else {
        f.capture = ++ast_.groupCount;
        pos_ += 1;
    }
    stack_.push_back(std::move(f));
    return CompileError::None;
}

CompileError Parser::closeGroup() {
    if (stack_.size() < 2) {
        return CompileError::Syntax;
    }
    Frame f = std::move(stack_.back());
    stack_.pop_back();
    Node g;
    g.kind = NodeKind::Group;
    g.child = finishFrame(f);
    g.capture = f.capture;
    stack_.back().sequence.push_back(addNode(g));
    ++pos_;
    return CompileError::None;
}

CompileError Parser::quantify(int min, int max) {
    std::vector<int>& seq = stack_.back().sequence;
    if (seq.empty()) {
        return CompileError::Syntax;
    }
    const NodeKind target = ast_.nodes[seq.back()].kind;
    if (target == NodeKind::Repeat || target == NodeKind::Assert) {
        return CompileError::Syntax;
    }
    Node r;
    r.kind = NodeKind::Repeat;
    r.child = seq.back();
    r.min = min;
    r.max = max;
    if (peek() == u'?') {
        r.greedy = false;
        ++pos_;
    }
    seq.back() = addNode(r);
    return CompileError::None;
}

// Reads {m}, {m,} or {m,n} at pos_; counts above kMaxRepeat come back as
// kMaxRepeat + 1 so the caller can refuse them. Anything else is not a
// quantifier and the brace is taken literally.
std::optional<std::pair<int, int>> Parser::countedQuantifier(std::size_t& length) const {
    std::size_t i = pos_ + 1;
    auto number = [&](int& value) {
        const std::size_t begin = i;
        value = 0;
        while (i < p_.size() && p_[i] >= u'0' && p_[i] <= u'9') {
            value = std::min(value * 10 + (p_[i] - u'0'), kMaxRepeat + 1);
            ++i;
        }
        return i > begin;
    };
    int min = 0;
    int max = 0;
    if (!number(min)) {
        return std::nullopt;
    }
    max = min;
    if (i < p_.size() && p_[i] == u',') {
        ++i;
        if (!number(max)) {
            max = -1;
        }
    }
    if (i >= p_.size() || p_[i] != u'}') {
        return std::nullopt;
    }
    length = i + 1 - pos_;
    return std::pair{min, max};
}

CompileError Parser::parseEscape(bool inClass, Escape& out) {
    if (!has(1)) {
        return CompileError::Syntax;
    }
    const char16_t c = peek(1);
    pos_ += 2;
    out.kind = Escape::Kind::Unit;
    switch (c) {
        case u'd': case u'D': case u'w': case u'W': case u's': case u'S': {
            const char16_t lower = static_cast<char16_t>(c | 0x20);
            out.kind = Escape::Kind::Class;
            out.cls = lower == u'd' ? CharClass::digits()
                    : lower == u'w' ? CharClass::wordChars()
                                    : CharClass::spaces();
            out.cls.normalize();
            if (c != lower) {
                out.cls.negate();
            }
            return CompileError::None;
        }
        case u'b':
            if (inClass) {
                out.unit = u'\b';
            } else {
                out.kind = Escape::Kind::Assert;
                out.assertion = AssertKind::WordBoundary;
            }
            return CompileError::None;
        case u'B':
            if (inClass) {
                return CompileError::Syntax;
            }
            out.kind = Escape::Kind::Assert;
            out.assertion = AssertKind::NotWordBoundary;
            return CompileError::None;
        case u'n': out.unit = u'\n'; return CompileError::None;
        case u'r': out.unit = u'\r'; return CompileError::None;
        case u't': out.unit = u'\t'; return CompileError::None;
        case u'f': out.unit = u'\f'; return CompileError::None;
        case u'v': out.unit = u'\v'; return CompileError::None;
        case u'0': {
            // \0 is NUL; \0 with up to two more octal digits is an octal unit.
            int value = 0;
            for (int k = 0; k < 2 && isOctal(peek()); ++k) {
                value = value * 8 + (peek() - u'0');
                ++pos_;
            }
            out.unit = static_cast<char16_t>(value);
            return CompileError::None;
        }
        case u'x': case u'u': {
            const int digits = c == u'x' ? 2 : 4;
            int value = 0;
            for (int k = 0; k < digits; ++k) {
                const int h = hexValue(peek(static_cast<std::size_t>(k)));
                if (h < 0) {
                    out.unit = c;  // not a hex escape: the letter itself
                    return CompileError::None;
                }
                value = value * 16 + h;
            }
            pos_ += static_cast<std::size_t>(digits);
            out.unit = static_cast<char16_t>(value);
            return CompileError::None;
        }
        case u'c':
            if (!isAsciiLetter(peek())) {
                return CompileError::Syntax;
            }
            out.unit = static_cast<char16_t>(peek() % 32);
            ++pos_;
            return CompileError::None;
        default:
            if (c >= u'1' && c <= u'9') {
                return CompileError::Unsupported;  // backreference
            }
            out.unit = c;  // escaped punctuation or any other unit: itself
            return CompileError::None;
    }
}

CompileError Parser::parseClassAtom(Escape& out) {
    if (peek() == u'\\') {
        return parseEscape(true, out);
    }
    out.kind = Escape::Kind::Unit;
    out.unit = peek();
    ++pos_;
    return CompileError::None;
}

CompileError Parser::parseClass() {
    ++pos_;  // [
    bool negated = false;
    if (peek() == u'^' && has(0)) {
        negated = true;
        ++pos_;
    }
    CharClass cls;
    while (true) {
        if (atEnd()) {
            return CompileError::Syntax;
        }
        if (peek() == u']') {
            ++pos_;
            break;
        }
        Escape first;
        if (CompileError e = parseClassAtom(first); e != CompileError::None) {
            return e;
        }
        if (first.kind == Escape::Kind::Class) {
            cls.addAll(first.cls);
            continue;
        }
        if (peek() != u'-' || !has(1) || peek(1) == u']') {
            cls.add(first.unit);
            continue;
        }
        ++pos_;  // -
        Escape last;
        if (CompileError e = parseClassAtom(last); e != CompileError::None) {
            return e;
        }
        if (last.kind == Escape::Kind::Class) {
            // [a-\d]: no range; the dash is a member.
            cls.add(first.unit);
            cls.add(u'-');
            cls.addAll(last.cls);
            continue;
        }
        if (first.unit > last.unit) {
            return CompileError::Syntax;
        }
        cls.add(first.unit, last.unit);
    }
    stack_.back().sequence.push_back(addClass(std::move(cls), negated));
    return CompileError::None;
}

CompileError Parser::run() {
    stack_.emplace_back();
    while (!atEnd()) {
        const char16_t c = peek();
        CompileError e = CompileError::None;
        switch (c) {
            case u'(':
                e = openGroup();
                break;
            case u')':
                e = closeGroup();
                break;
            case u'|': {
                Frame& f = stack_.back();
                f.alternatives.push_back(addList(NodeKind::Concat, f.sequence));
                f.sequence.clear();
                ++pos_;
                break;
            }
            case u'*': case u'+': case u'?':
                ++pos_;
                e = quantify(c == u'+' ? 1 : 0, c == u'?' ? 1 : -1);
                break;
            case u'{': {
                std::size_t length = 0;
                if (auto q = countedQuantifier(length)) {
                    const auto [min, max] = *q;
                    if (min > kMaxRepeat || max > kMaxRepeat) {
                        return CompileError::TooLarge;
                    }
                    if (max >= 0 && max < min) {
                        return CompileError::Syntax;
                    }
                    pos_ += length;
                    e = quantify(min, max);
                } else {
                    stack_.back().sequence.push_back(addUnit(c));
                    ++pos_;
                }
                break;
            }
            case u'^': case u'$': {
                const bool start = c == u'^';
                const AssertKind kind = options_.multiline
                                            ? (start ? AssertKind::LineStart : AssertKind::LineEnd)
                                            : (start ? AssertKind::TextStart : AssertKind::TextEnd);
                stack_.back().sequence.push_back(addAssert(kind));
                ++pos_;
                break;
            }
            case u'.': {
                Node n;
                n.kind = NodeKind::AnyButNewline;
                stack_.back().sequence.push_back(addNode(n));
                ++pos_;
                break;
            }
            case u'[':
                e = parseClass();
                break;
            case u'\\': {
                Escape esc;
                e = parseEscape(false, esc);
                if (e != CompileError::None) break;
                const int node = esc.kind == Escape::Kind::Unit    ? addUnit(esc.unit)
                                 : esc.kind == Escape::Kind::Class ? addClass(std::move(esc.cls), false)
                                                                   : addAssert(esc.assertion);
                stack_.back().sequence.push_back(node);
                break;
            }
            default:
                stack_.back().sequence.push_back(addUnit(c));
                ++pos_;
                break;
        }
        if (e != CompileError::None) {
            return e;
        }
    }
    if (stack_.size() != 1) {
        return CompileError::Syntax;  // a group left open
    }
    ast_.root = finishFrame(stack_.back());
    return CompileError::None;
}

}  // namespace

CompileError parse(std::u16string_view pattern, const Options& options, Ast& out) {
    out = Ast{};
    return Parser(pattern, options, out).run();
}

}  // namespace velmora::regex

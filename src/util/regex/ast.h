// Syntax tree of a parsed pattern. Nodes live in one vector and a parent
// always comes after its children, so a single forward pass can compute
// anything that is built bottom-up (sizes, nullability) without recursion.
#pragma once

#include <cstdint>
#include <vector>

#include "util/regex/char_class.h"

namespace velmora::regex {

enum class NodeKind : std::uint8_t {
    Empty,
    Char,       // ch or ch2 (its other case when ignoring case)
    Class,      // classIndex
    AnyButNewline,
    Assert,     // assertion
    Group,      // child; capture >= 1 for a capturing group, 0 otherwise
    Concat,     // children [firstChild, firstChild + childCount)
    Alternate,  // the same, in priority order
    Repeat,     // child, min, max (-1 for no limit), greedy
};

enum class AssertKind : std::uint8_t {
    LineStart,
    LineEnd,
    TextStart,
    TextEnd,
    WordBoundary,
    NotWordBoundary,
};

struct Node {
    NodeKind kind = NodeKind::Empty;
    AssertKind assertion = AssertKind::TextStart;
    bool greedy = true;
    char16_t ch = 0;
    char16_t ch2 = 0;
    int classIndex = 0;
    int capture = 0;
    int child = -1;
    int firstChild = 0;
    int childCount = 0;
    int min = 0;
    int max = 0;
};

struct Ast {
    std::vector<Node> nodes;
    std::vector<int> children;  // child lists of Concat and Alternate nodes
    std::vector<CharClass> classes;
    int root = -1;
    int groupCount = 0;
};

}  // namespace velmora::regex

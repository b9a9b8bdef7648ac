// A compiled pattern: instructions for the Pike VM and the facts about them
// that the matcher needs (slot count, first-unit filter).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "util/regex/ast.h"
#include "util/regex/char_class.h"

namespace velmora::regex {

struct Options {
    bool ignoreCase = false;
    // ^ and $ also match at line terminators inside the subject.
    bool multiline = false;
};

// Bounds that keep compilation and matching memory in check.
inline constexpr int kMaxNesting = 1000;        // open groups at once
inline constexpr int kMaxRepeat = 1000;         // counts in {m,n}
inline constexpr int kMaxInstructions = 100000;  // after expanding {m,n}
inline constexpr std::size_t kMaxThreadSlots = std::size_t{1} << 22;  // per thread list

enum class Op : std::uint8_t {
    Char,           // unit c1 or c2, then x
    Class,          // unit in classes[y], then x
    AnyButNewline,  // any unit but a line terminator, then x
    Split,          // x first, then y
    Jmp,            // x
    Save,           // slot y := position, then x
    Assert,         // assertion holds here, then x
    Match,
};

struct Inst {
    Op op = Op::Match;
    AssertKind assertion = AssertKind::TextStart;
    char16_t c1 = 0;
    char16_t c2 = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

enum class CompileError {
    None,
    Syntax,       // malformed pattern
    Unsupported,  // backreference, look-around or other syntax that cannot run in linear time
    TooLarge,     // past one of the bounds above
};

class Program {
public:
    std::vector<Inst> code;
    std::vector<CompiledClass> classes;
    int groupCount = 0;
    // Instructions that consume a unit or match: the most threads one list holds.
    int threadCapacity = 0;

    // When set, a match can only begin at a unit whose bit is set here.
    bool hasFirstUnits = false;
    std::vector<std::uint64_t> firstUnits;

    // Set when the lazy DFA can run this program: units split into classes
    // that every instruction treats alike, and one unit of each class.
    bool dfaSuits = false;
    std::vector<std::uint8_t> unitClass;
    std::vector<char16_t> classRepresentative;

    int slotCount() const { return 2 * (groupCount + 1); }
    bool canStartWith(char16_t c) const { return (firstUnits[c >> 6] >> (c & 63)) & 1; }
};

// Compiles a pattern, or returns null and sets *error.
std::shared_ptr<const Program> compile(std::u16string_view pattern, const Options& options,
                                       CompileError* error = nullptr);

}  // namespace velmora::regex

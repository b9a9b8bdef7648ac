// Sets of UTF-16 code units for the regular-expression engine: classes,
// the \d \w \s families, and case folding.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace velmora::regex {

struct CodeRange {
    char16_t first;
    char16_t last;  // inclusive
};

class CharClass {
public:
    void add(char16_t first, char16_t last);
    void add(char16_t c) { add(c, c); }
    void addAll(const CharClass& other);

    // Sorts and merges the ranges; call once after the last add.
    void normalize();
    // Complement within 0..FFFF; the class must be normalized.
    void negate();
    // Adds the other-case partner of every member; the class must be
    // normalized and is normalized again afterwards.
    void addCaseVariants();

    bool empty() const { return ranges_.empty(); }
    const std::vector<CodeRange>& ranges() const { return ranges_; }

    static CharClass digits();
    static CharClass wordChars();
    static CharClass spaces();

private:
    std::vector<CodeRange> ranges_;
};

// The fast form of a normalized class that the matcher tests against: a
// bitmap for ASCII and the sorted ranges for the rest.
class CompiledClass {
public:
    explicit CompiledClass(const CharClass& cls);

    bool contains(char16_t c) const {
        if (c < 128) {
            return (ascii_[c >> 6] >> (c & 63)) & 1;
        }
        return containsWide(c);
    }
    // Members below 128 as bits (unit c is bit c % 64 of word c / 64); the
    // ranges hold the members from 128 on.
    const std::array<std::uint64_t, 2>& asciiBits() const { return ascii_; }
    const std::vector<CodeRange>& ranges() const { return ranges_; }

private:
    bool containsWide(char16_t c) const;

    std::array<std::uint64_t, 2> ascii_{};
    std::vector<CodeRange> ranges_;
};

// Simple case mapping used when ignoring case: ASCII, Latin-1, Greek,
// Cyrillic and full-width Latin letters. Returns c when it has no partner.
char16_t otherCase(char16_t c);

bool isWordChar(char16_t c);
bool isLineTerminator(char16_t c);

}  // namespace velmora::regex

#include "util/regex/char_class.h"

#include <algorithm>

namespace velmora::regex {

namespace {

// Upper-case block, its last member, and the distance to its lower case.
struct FoldBlock {
    char16_t upperFirst;
    char16_t upperLast;
    char16_t delta;
};

constexpr FoldBlock kFoldBlocks[] = {
    {0x0041, 0x005A, 0x20},  // A-Z
    {0x00C0, 0x00D6, 0x20},  // Latin-1 letters before the multiplication sign
    {0x00D8, 0x00DE, 0x20},  // and after it
    {0x0391, 0x03A1, 0x20},  // Greek Alpha-Rho
    {0x03A3, 0x03AB, 0x20},  // Greek Sigma-Upsilon with dialytika
    {0x0400, 0x040F, 0x50},  // Cyrillic Ie with grave - Dzhe
    {0x0410, 0x042F, 0x20},  // Cyrillic A-Ya
    {0xFF21, 0xFF3A, 0x20},  // full-width A-Z
};

constexpr char16_t kMaxUnit = 0xFFFF;

}  // namespace

void CharClass::add(char16_t first, char16_t last) {
    if (first > last) {
        std::swap(first, last);
    }
    ranges_.push_back({first, last});
}

void CharClass::addAll(const CharClass& other) {
    ranges_.insert(ranges_.end(), other.ranges_.begin(), other.ranges_.end());
}

void CharClass::normalize() {
    std::sort(ranges_.begin(), ranges_.end(),
              [](const CodeRange& a, const CodeRange& b) { return a.first < b.first; });
    std::vector<CodeRange> merged;
    for (const CodeRange& r : ranges_) {
        if (!merged.empty() && r.first <= static_cast<unsigned>(merged.back().last) + 1) {
            merged.back().last = std::max(merged.back().last, r.last);
        } else {
            merged.push_back(r);
        }
    }
    ranges_ = std::move(merged);
}

void CharClass::negate() {
    std::vector<CodeRange> out;
    unsigned next = 0;
    for (const CodeRange& r : ranges_) {
        if (r.first > next) {
            out.push_back({static_cast<char16_t>(next), static_cast<char16_t>(r.first - 1)});
        }
        next = static_cast<unsigned>(r.last) + 1;
    }
    if (next <= kMaxUnit) {
        out.push_back({static_cast<char16_t>(next), kMaxUnit});
    }
    ranges_ = std::move(out);
}

void CharClass::addCaseVariants() {
    std::vector<CodeRange> extra;
    for (const CodeRange& r : ranges_) {
        for (const FoldBlock& b : kFoldBlocks) {
            const char16_t lowerFirst = static_cast<char16_t>(b.upperFirst + b.delta);
            const char16_t lowerLast = static_cast<char16_t>(b.upperLast + b.delta);
            char16_t lo = std::max(r.first, b.upperFirst);
            char16_t hi = std::min(r.last, b.upperLast);
            if (lo <= hi) {
                extra.push_back({static_cast<char16_t>(lo + b.delta),
                                 static_cast<char16_t>(hi + b.delta)});
            }
            lo = std::max(r.first, lowerFirst);
            hi = std::min(r.last, lowerLast);
            if (lo <= hi) {
                extra.push_back({static_cast<char16_t>(lo - b.delta),
                                 static_cast<char16_t>(hi - b.delta)});
            }
        }
    }
    ranges_.insert(ranges_.end(), extra.begin(), extra.end());
    normalize();
}

CharClass CharClass::digits() {
    CharClass c;
    c.add(u'0', u'9');
    return c;
}

CharClass CharClass::wordChars() {
    CharClass c;
    c.add(u'0', u'9');
    c.add(u'A', u'Z');
    c.add(u'_');
    c.add(u'a', u'z');
    return c;
}

// The scripting engine's \s: space, form feed, line feed, carriage return,
// tab and vertical tab.
CharClass CharClass::spaces() {
    CharClass c;
    c.add(u'\t', u'\r');
    c.add(u' ');
    return c;
}

CompiledClass::CompiledClass(const CharClass& cls) {
    for (const CodeRange& r : cls.ranges()) {
        for (unsigned c = r.first; c <= r.last && c < 128; ++c) {
            ascii_[c >> 6] |= std::uint64_t{1} << (c & 63);
        }
        if (r.last >= 128) {
            ranges_.push_back({std::max<char16_t>(r.first, 128), r.last});
        }
    }
}

bool CompiledClass::containsWide(char16_t c) const {
    auto it = std::upper_bound(ranges_.begin(), ranges_.end(), c,
                               [](char16_t v, const CodeRange& r) { return v < r.first; });
    return it != ranges_.begin() && c <= std::prev(it)->last;
}

char16_t otherCase(char16_t c) {
    for (const FoldBlock& b : kFoldBlocks) {
        if (c >= b.upperFirst && c <= b.upperLast) {
            return static_cast<char16_t>(c + b.delta);
        }
        if (c >= b.upperFirst + b.delta && c <= b.upperLast + b.delta) {
            return static_cast<char16_t>(c - b.delta);
        }
    }
    return c;
}

bool isWordChar(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
           c == u'_';
}

bool isLineTerminator(char16_t c) {
    return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029;
}

}  // namespace velmora::regex

#include "util/cp936_portable.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <memory>

namespace velmora::codepage::portable {

namespace {

struct Cp936Composition {
    char16_t base;
    char16_t mark;
    char16_t composed;
};

#include "util/cp936_table.inc"

constexpr unsigned char kFirstLead = 0x81;
constexpr unsigned char kLastLead = 0xFE;
constexpr int kTrailsPerLead = 190;
constexpr char16_t kEuroSign = 0x20AC;   // the single byte 0x80
constexpr char16_t kByteFF = 0xF8F5;     // the single byte 0xFF
constexpr char16_t kReplacement = 0xFFFD;

bool isLead(unsigned char b) { return b >= kFirstLead && b <= kLastLead; }

// Index of a trail byte among the 190 of a lead byte, or -1.
int trailIndex(unsigned char trail) {
    if (trail >= 0x40 && trail <= 0x7E) {
        return trail - 0x40;
    }
    if (trail >= 0x80 && trail <= 0xFE) {
        return trail - 0x41;
    }
    return -1;
}

char16_t singleByteUnit(unsigned char b) {
    if (b < 0x80) {
        return b;
    }
    return b == 0x80 ? kEuroSign : kByteFF;
}

// Code page 936 bytes of every UTF-16 code unit (0 for none), built once from
// the decoding table. Double-byte codes are stored lead << 8 | trail.
class EncodingTable {
public:
    EncodingTable() {
        for (std::size_t i = 0; i < std::size(kCp936DoubleByte); ++i) {
            const unsigned lead = kFirstLead + static_cast<unsigned>(i / kTrailsPerLead);
            const unsigned index = static_cast<unsigned>(i % kTrailsPerLead);
            const unsigned trail = index < 0x3F ? index + 0x40 : index + 0x41;
            codes_[kCp936DoubleByte[i]] = static_cast<std::uint16_t>(lead << 8 | trail);
        }
        codes_[kEuroSign] = 0x80;
        codes_[kByteFF] = 0xFF;
    }

    // Appends the bytes for `unit`; false when 936 has no such character.
    bool append(char16_t unit, std::string& out) const {
        if (unit < 0x80) {
            out += static_cast<char>(unit);
            return true;
        }
        const std::uint16_t code = codes_[unit];
        if (code == 0) {
            return false;
        }
        if (code > 0xFF) {
            out += static_cast<char>(code >> 8);
        }
        out += static_cast<char>(code & 0xFF);
        return true;
    }

private:
    std::array<std::uint16_t, 0x10000> codes_{};
};

const EncodingTable& sharedEncodingTable() {
    static const auto table = std::make_unique<EncodingTable>();
    return *table;
}

// The composed character of `base` + `mark` that 936 can write, or 0.
char16_t composition(char16_t base, char16_t mark) {
    const Cp936Composition* first = std::begin(kCp936Compositions);
    const Cp936Composition* last = std::end(kCp936Compositions);
    const auto* it = std::lower_bound(first, last, Cp936Composition{base, mark, 0},
                                      [](const Cp936Composition& a, const Cp936Composition& b) {
                                          return a.base != b.base ? a.base < b.base : a.mark < b.mark;
                                      });
    return (it != last && it->base == base && it->mark == mark) ? it->composed : char16_t{0};
}

// Length of the UTF-8 sequence a lead byte announces, with the range its
// first continuation byte must fall in (the later ones are 80-BF); 0 for a
// byte that starts no sequence.
struct Utf8Lead {
    int length;
    unsigned char low;
    unsigned char high;
};

Utf8Lead readUtf8Lead(unsigned char b) {
    if (b >= 0xC2 && b <= 0xDF) return {2, 0x80, 0xBF};
    if (b == 0xE0) return {3, 0xA0, 0xBF};
    if (b == 0xED) return {3, 0x80, 0x9F};  // no surrogates
    if (b >= 0xE1 && b <= 0xEF) return {3, 0x80, 0xBF};
    if (b == 0xF0) return {4, 0x90, 0xBF};
    if (b >= 0xF1 && b <= 0xF3) return {4, 0x80, 0xBF};
    if (b == 0xF4) return {4, 0x80, 0x8F};  // nothing above U+10FFFF
    return {0, 0, 0};
}

void appendCodePoint(char32_t cp, std::u16string& out) {
    if (cp < 0x10000) {
        out += static_cast<char16_t>(cp);
        return;
    }
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
}

}  // namespace

std::u16string gbkToUtf16(std::string_view gbk) {
    std::u16string out;
    out.reserve(gbk.size());
    for (std::size_t at = 0; at < gbk.size(); ++at) {
        const auto b = static_cast<unsigned char>(gbk[at]);
        if (!isLead(b)) {
            out += singleByteUnit(b);
            continue;
        }
        if (at + 1 >= gbk.size() || gbk[at + 1] == '\0') {
            out += static_cast<char16_t>(kDefaultChar);
            continue;
        }
        const int index = trailIndex(static_cast<unsigned char>(gbk[++at]));
        out += index < 0 ? static_cast<char16_t>(kDefaultChar)
                         : static_cast<char16_t>(kCp936DoubleByte[(b - kFirstLead) * kTrailsPerLead + index]);
    }
    return out;
}

std::string utf16ToGbk(std::u16string_view utf16, bool compositeCheck) {
    const EncodingTable& table = sharedEncodingTable();
    std::string out;
    out.reserve(utf16.size() * 2);
    for (std::size_t at = 0; at < utf16.size(); ++at) {
        if (compositeCheck && at + 1 < utf16.size()) {
            const char16_t composed = composition(utf16[at], utf16[at + 1]);
            if (composed != 0 && table.append(composed, out)) {
                ++at;
                continue;
            }
        }
        if (!table.append(utf16[at], out)) {
            out += kDefaultChar;
        }
    }
    return out;
}

std::u16string utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        const auto b = static_cast<unsigned char>(utf8[at]);
        if (b < 0x80) {
            out += static_cast<char16_t>(b);
            ++at;
            continue;
        }
        const Utf8Lead lead = readUtf8Lead(b);
        char32_t cp = b & (0x7F >> lead.length);
        std::size_t taken = 1;
        bool complete = lead.length > 0;
        for (int k = 1; complete && k < lead.length; ++k) {
            const unsigned char low = k == 1 ? lead.low : 0x80;
            const unsigned char high = k == 1 ? lead.high : 0xBF;
            if (at + taken >= utf8.size()) {
                complete = false;
                break;
            }
            const auto c = static_cast<unsigned char>(utf8[at + taken]);
            if (c < low || c > high) {
                complete = false;
                break;
            }
            cp = cp << 6 | (c & 0x3F);
            ++taken;
        }
        // An ill-formed subpart ends before the first byte that cannot
        // continue it; that byte starts afresh.
        if (complete) {
            appendCodePoint(cp, out);
        } else {
            out += kReplacement;
        }
        at += taken;
    }
    return out;
}

std::string utf8ToGbk(std::string_view utf8) { return utf16ToGbk(utf8ToUtf16(utf8), true); }

}  // namespace velmora::codepage::portable

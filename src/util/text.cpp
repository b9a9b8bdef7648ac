#include "util/text.h"

#include <limits>

namespace velmora::text {

// A lead byte followed by a zero byte stands alone, as the system's
// character stepping treats it.
std::size_t charLength(std::string_view s, std::size_t pos) {
    if (isLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size() && s[pos + 1] != '\0') {
        return 2;
    }
    return 1;
}

bool endsInLoneLeadByte(std::string_view s) {
    std::size_t pos = 0;
    std::size_t last = 0;
    while (pos < s.size()) {
        last = pos;
        pos += charLength(s, pos);
    }
    return !s.empty() && pos - last == 1 && isLeadByte(static_cast<unsigned char>(s[last]));
}

namespace {

constexpr std::string_view kFullWidthSpace = "\xA1\xA1";

// First character boundary at or after `from`, walking from `boundary`, a
// known boundary before it (s.size() when none is left).
std::size_t boundaryAtOrAfter(std::string_view s, std::size_t from, std::size_t boundary = 0) {
    std::size_t pos = boundary;
    while (pos < from && pos < s.size()) {
        pos += charLength(s, pos);
    }
    return pos;
}

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether `needle` occurs at `pos`, a character boundary of `haystack`.
// Folding applies to the needle's single-byte characters only; since the
// match begins on a boundary, those line up with single-byte characters of
// the haystack, so a trail byte is never folded.
bool matchesAt(std::string_view haystack, std::size_t pos, std::string_view needle, bool ignoreCase) {
    if (needle.size() > haystack.size() - pos) {
        return false;
    }
    std::string_view window = haystack.substr(pos, needle.size());
    if (!ignoreCase) {
        return window == needle;
    }
    for (std::size_t i = 0; i < needle.size();) {
        std::size_t len = charLength(needle, i);
        if (len == 1) {
            if (lowerAscii(needle[i]) != lowerAscii(window[i])) {
                return false;
            }
        } else if (needle.substr(i, 2) != window.substr(i, 2)) {
            return false;
        }
        i += len;
    }
    return true;
}

bool isBlankAt(std::string_view s, std::size_t pos, std::size_t len) {
    return (len == 1 && s[pos] == ' ') || (len == 2 && s.substr(pos, 2) == kFullWidthSpace);
}

// Full-width digits and signs (A3 B0..A3 B9, A3 AB, A3 AD) as ASCII.
std::string narrowDigits(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t pos = 0; pos < s.size();) {
        std::size_t len = charLength(s, pos);
        unsigned char trail = len == 2 ? static_cast<unsigned char>(s[pos + 1]) : 0;
        if (len == 2 && static_cast<unsigned char>(s[pos]) == 0xA3 &&
            ((trail >= 0xB0 && trail <= 0xB9) || trail == 0xAB || trail == 0xAD)) {
            out += static_cast<char>(trail - 0x80);
        } else {
            out.append(s.substr(pos, len));
        }
        pos += len;
    }
    return out;
}

// The search proper, starting at `boundary`, a character boundary.
std::size_t findFromBoundary(std::string_view haystack, std::string_view needle, std::size_t boundary,
                             bool ignoreCase) {
    for (std::size_t pos = boundary; pos < haystack.size(); pos += charLength(haystack, pos)) {
        if (matchesAt(haystack, pos, needle, ignoreCase)) {
            return pos;
        }
    }
    return npos;
}

// Calls `onHit(hit)` for every occurrence of `needle` (non-empty), left to
// right and without overlaps. Each search resumes from the boundary it
// reached, so the walk is linear in the text.
template <typename OnHit>
void forEachHit(std::string_view s, std::string_view needle, OnHit onHit) {
    std::size_t boundary = 0;
    for (std::size_t hit = findFromBoundary(s, needle, 0, false); hit != npos;
         hit = findFromBoundary(s, needle, boundary, false)) {
        onHit(hit);
        boundary = boundaryAtOrAfter(s, hit + needle.size(), hit);
    }
}

}  // namespace

std::size_t find(std::string_view haystack, std::string_view needle, std::size_t from, bool ignoreCase) {
    return findFromBoundary(haystack, needle, boundaryAtOrAfter(haystack, from), ignoreCase);
}

std::size_t findLast(std::string_view haystack, std::string_view needle, bool ignoreCase) {
    std::size_t last = npos;
    for (std::size_t pos = 0; pos < haystack.size(); pos += charLength(haystack, pos)) {
        if (matchesAt(haystack, pos, needle, ignoreCase)) {
            last = pos;
        }
    }
    return last;
}

std::string_view trimLeft(std::string_view s) {
    std::size_t pos = 0;
    while (pos < s.size()) {
        std::size_t len = charLength(s, pos);
        if (!isBlankAt(s, pos, len)) {
            break;
        }
        pos += len;
    }
    return s.substr(pos);
}

std::string_view trimRight(std::string_view s) {
    // Walk forwards: only a forward walk knows where the characters begin.
    std::size_t end = 0;
    for (std::size_t pos = 0; pos < s.size();) {
        std::size_t len = charLength(s, pos);
        pos += len;
        if (!isBlankAt(s, pos - len, len)) {
            end = pos;
        }
    }
    return s.substr(0, end);
}

std::string_view trim(std::string_view s) { return trimRight(trimLeft(s)); }

std::string removeBlanks(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t pos = 0; pos < s.size();) {
        std::size_t len = charLength(s, pos);
        if (!isBlankAt(s, pos, len)) {
            out.append(s.substr(pos, len));
        }
        pos += len;
    }
    return out;
}

std::string toLowerAscii(std::string_view s) {
    std::string out(s);
    for (std::size_t pos = 0; pos < out.size();) {
        std::size_t len = charLength(out, pos);
        if (len == 1) {
            out[pos] = lowerAscii(out[pos]);
        }
        pos += len;
    }
    return out;
}

std::vector<std::string> split(std::string_view s, std::string_view delimiter) {
    std::vector<std::string> pieces;
    if (s.empty()) {
        return pieces;
    }
    if (delimiter.empty()) {
        pieces.emplace_back(s);
        return pieces;
    }
    std::size_t start = 0;
    forEachHit(s, delimiter, [&](std::size_t hit) {
        pieces.emplace_back(s.substr(start, hit - start));
        start = hit + delimiter.size();
    });
    if (start < s.size()) {
        pieces.emplace_back(s.substr(start));
    }
    return pieces;
}

std::string replaceAll(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty()) {
        return std::string(s);
    }
    std::string out;
    std::size_t start = 0;
    forEachHit(s, from, [&](std::size_t hit) {
        out.append(s.substr(start, hit - start));
        out.append(to);
        start = hit + from.size();
    });
    out.append(s.substr(start));
    return out;
}

std::int32_t toInt(std::string_view s) {
    const std::string narrow = narrowDigits(s);
    std::string_view rest = trimLeft(narrow);
    bool negative = false;
    if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    constexpr long long kMax = std::numeric_limits<std::int32_t>::max();
    const long long limit = negative ? kMax + 1 : kMax;
    long long value = 0;
    for (char c : rest) {
        if (c < '0' || c > '9') {
            break;
        }
        value = value * 10 + (c - '0');
        if (value >= limit) {
            value = limit;  // saturated; the remaining digits cannot lower it
        }
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

std::string fromInt(long long value) { return std::to_string(value); }

}  // namespace velmora::text

#include "util/regex_object.h"

#include <cstdint>

#include "util/codepage.h"
#include "util/regex/matcher.h"
#include "util/regex/program.h"
#include "util/text.h"

namespace velmora {

namespace {

int toPosition(std::size_t offset) {
    return offset == text::npos ? -2 : static_cast<int>(offset);
}

// Where an index out of range leaves the position: the search for an empty
// text from the start.
int emptySearchPosition(std::string_view subject) { return toPosition(text::find(subject, "", 0)); }

// Byte offset of UTF-16 unit `unit` when every code page 936 character is
// one unit (always so for text the converter maps one to one), or npos.
std::size_t byteOffsetOfUnit(std::string_view subject, std::int32_t unit) {
    std::size_t b = 0;
    for (std::int32_t u = 0; u < unit; ++u) {
        if (b >= subject.size()) return text::npos;
        b += text::charLength(subject, b);
    }
    return b;
}

// The byte offset in `subject` of `found`, which the matcher reported at
// UTF-16 unit `unit`. Counting characters gives the exact place; when the
// text is not there (bytes the converter does not map one to one), the
// text is searched from the unit index, which can only lie at or before
// the byte offset since no character takes fewer bytes than units.
int bytePosition(std::string_view subject, std::int32_t unit, std::string_view found, bool ignoreCase) {
    const std::size_t exact = byteOffsetOfUnit(subject, unit);
    if (exact != text::npos && subject.substr(exact, found.size()) == found) {
        return static_cast<int>(exact);
    }
    const std::size_t from = unit > 0 ? static_cast<std::size_t>(unit) - 1 : 0;
    return toPosition(text::find(subject, found, from, ignoreCase));
}

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The scripting component's replacement references: $$ $& $` $' and $n or
// $nn for groups 1 to 99 (two digits taken when they name a group, else
// one); any other $ stands for itself.
void expandReplacement(std::u16string& out, std::u16string_view repl, const regex::MatchList& m,
                       int index) {
    const std::u16string_view s = m.subject;
    auto group = [&](int g) {
        const std::int32_t start = m.start(index, g);
        if (start >= 0) out.append(s.substr(start, m.end(index, g) - start));
    };
    for (std::size_t i = 0; i < repl.size(); ++i) {
        const char16_t c = repl[i];
        const char16_t next = i + 1 < repl.size() ? repl[i + 1] : u'\0';
        if (c != u'$' || i + 1 >= repl.size()) {
            out.push_back(c);
        } else if (next == u'$') {
            out.push_back(u'$');
            ++i;
        } else if (next == u'&') {
            group(0);
            ++i;
        } else if (next == u'`') {
            out.append(s.substr(0, m.start(index, 0)));
            ++i;
        } else if (next == u'\'') {
            out.append(s.substr(m.end(index, 0)));
            ++i;
        } else if (isDigit(next)) {
            const int one = next - u'0';
            const bool hasTwo = i + 2 < repl.size() && isDigit(repl[i + 2]);
            const int two = hasTwo ? one * 10 + (repl[i + 2] - u'0') : 0;
            if (hasTwo && two >= 1 && two <= m.groupCount) {
                group(two);
                i += 2;
            } else if (one >= 1 && one <= m.groupCount) {
                group(one);
                ++i;
            } else {
                out.push_back(u'$');
            }
        } else {
            out.push_back(u'$');
        }
    }
}

}  // namespace

RegexObject::RegexObject() = default;
RegexObject::~RegexObject() = default;
RegexObject::RegexObject(const RegexObject& other) = default;
RegexObject& RegexObject::operator=(const RegexObject& other) = default;

bool RegexObject::create(std::string_view pattern, std::string_view subject, bool ignoreCase,
                         bool multiline, bool global) {
    created_ = true;
    patternText_.assign(pattern);
    ignoreCase_ = ignoreCase;
    matches_.reset();
    program_ = regex::compile(codepage::gbkToUtf16(pattern), regex::Options{ignoreCase, multiline});
    subject_.assign(subject);
    if (!program_) {
        return false;
    }
    matches_ = std::make_shared<const regex::MatchList>(
        regex::findAll(*program_, codepage::gbkToUtf16(subject_), global));
    return true;
}

RegexObject RegexObject::runOver(std::string_view subject, bool global) const {
    RegexObject run;
    run.created_ = created_;
    run.patternText_ = patternText_;
    run.ignoreCase_ = ignoreCase_;
    run.program_ = program_;
    run.subject_.assign(subject);
    if (program_) {
        run.matches_ = std::make_shared<const regex::MatchList>(
            regex::findAll(*program_, codepage::gbkToUtf16(run.subject_), global));
    }
    return run;
}

std::string RegexObject::pattern() const { return created_ ? patternText_ : std::string(); }

std::string RegexObject::replace(std::string_view replacement) const {
    if (!matches_) {
        return {};
    }
    const regex::MatchList& m = *matches_;
    const std::u16string repl = codepage::gbkToUtf16(replacement);
    const std::u16string_view s = m.subject;
    std::u16string out;
    std::size_t done = 0;
    for (int i = 0; i < m.count(); ++i) {
        const auto start = static_cast<std::size_t>(m.start(i, 0));
        out.append(s.substr(done, start - done));
        expandReplacement(out, repl, m, i);
        done = static_cast<std::size_t>(m.end(i, 0));
    }
    out.append(s.substr(done));
    return codepage::utf16ToGbk(out);
}

int RegexObject::matchCount() const { return matches_ ? matches_->count() : 0; }

std::string RegexObject::matchText(int index, int* position, bool wantPosition) const {
    const bool report = wantPosition && position != nullptr;
    if (index < 1 || index > matchCount()) {
        if (report) *position = emptySearchPosition(subject_);
        return {};
    }
    const regex::MatchList& m = *matches_;
    const std::int32_t start = m.start(index - 1, 0);
    std::string found = codepage::utf16ToGbk(
        std::u16string_view(m.subject).substr(start, m.end(index - 1, 0) - start));
    if (report) *position = bytePosition(subject_, start, found, ignoreCase_);
    return found;
}

std::string RegexObject::subMatchText(int matchIndex, int groupIndex, int* position,
                                      bool wantPosition) const {
    const bool report = wantPosition && position != nullptr;
    if (matchIndex < 1 || matchIndex > matchCount() || groupIndex < 1 ||
        groupIndex > matches_->groupCount) {
        if (report) *position = emptySearchPosition(subject_);
        return {};
    }
    const regex::MatchList& m = *matches_;
    const std::int32_t start = m.start(matchIndex - 1, groupIndex);
    std::string found;
    if (start >= 0) {
        found = codepage::utf16ToGbk(
            std::u16string_view(m.subject).substr(start, m.end(matchIndex - 1, groupIndex) - start));
    }
    // A group that took no part is placed at the start of its match.
    const std::int32_t at = start >= 0 ? start : m.start(matchIndex - 1, 0);
    if (report) *position = bytePosition(subject_, at, found, ignoreCase_);
    return found;
}

int RegexObject::subMatchCount() const {
    return matchCount() > 0 ? matches_->groupCount : 0;
}

}  // namespace velmora

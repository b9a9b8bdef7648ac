// Regular-expression object: compile a pattern, run it over a subject and
// read matches, groups and their byte positions.
//
// Texts are code page 936 bytes; matching runs over UTF-16 code units, so a
// match's FirstIndex counts UTF-16 units as the scripting component's does.
// The engine is our own and linear in the subject (src/util/regex/).
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace velmora {

namespace regex {
class Program;       // compiled pattern
struct MatchList;    // matches of one run
}  // namespace regex

class RegexObject {
public:
    RegexObject();
    ~RegexObject();
    // The copy shares the compiled pattern and the matches and has its own
    // copy of the subject.
    RegexObject(const RegexObject& other);
    RegexObject& operator=(const RegexObject& other);

    // Compiles `pattern` and runs it over `subject`. True when the pattern
    // compiled (a valid pattern without a match still gives true).
    bool create(std::string_view pattern, std::string_view subject, bool ignoreCase = true,
                bool multiline = true, bool global = true);
    // The same compiled pattern run over another subject: a pattern used on
    // many texts is compiled once. Safe to call from several threads at once.
    RegexObject runOver(std::string_view subject, bool global = true) const;

    std::string pattern() const;
    std::string replace(std::string_view replacement) const;
    int matchCount() const;
    // Match index from 1. With wantPosition, *position receives the 0-based
    // byte offset of the match in the subject (-2 when not found).
    std::string matchText(int index, int* position = nullptr, bool wantPosition = false) const;
    std::string subMatchText(int matchIndex, int groupIndex, int* position = nullptr,
                             bool wantPosition = false) const;
    int subMatchCount() const;

private:
    std::shared_ptr<const regex::Program> program_;
    std::shared_ptr<const regex::MatchList> matches_;
    std::string patternText_;
    std::string subject_;
    bool created_ = false;
    bool ignoreCase_ = true;
};

}  // namespace velmora

// Random patterns on random subjects: compilation never crashes, matches lie
// inside the subject in ascending order without overlap, groups lie inside
// their subject, and the DFA agrees with the VM on every match and group.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <unordered_map>

#include "util/regex/matcher.h"
#include "util/regex/program.h"
#include "max_len.h"

namespace rx = velmora::regex;

// No bound of the engine lies between a few hundred units and longer
// subjects (the DFA's cache budget needs far more than 4 KB either way):
// longer inputs only repeat steps that shorter ones take.
VELMORA_FUZZ_MAX_LEN(512)

namespace {

// Bytes to code units; the top byte values stand for units outside ASCII,
// a surrogate pair's halves among them.
char16_t unitOf(std::uint8_t b) {
    switch (b) {
        case 0xF8: return 0x4E2D;
        case 0xF9: return 0x00C9;
        case 0xFA: return 0x00E9;
        case 0xFB: return 0x2028;
        case 0xFC: return 0xD83D;
        case 0xFD: return 0xDE00;
        case 0xFE: return 0xFF21;
        case 0xFF: return 0x3000;
        default: return b;
    }
}

void check(bool ok) {
    if (!ok) std::abort();
}

void checkList(const rx::MatchList& m) {
    const auto n = static_cast<std::int32_t>(m.subject.size());
    std::int32_t lastEnd = 0;
    std::int32_t lastStart = -1;
    for (int i = 0; i < m.count(); ++i) {
        const std::int32_t s = m.start(i, 0);
        const std::int32_t e = m.end(i, 0);
        check(s >= lastEnd && s > lastStart && s <= e && e <= n);
        for (int g = 1; g <= m.groupCount; ++g) {
            if (m.start(i, g) < 0) {
                check(m.end(i, g) < 0);
                continue;
            }
            check(m.start(i, g) <= m.end(i, g) && m.end(i, g) <= n);
        }
        lastEnd = e;
        lastStart = s;
    }
}

// Compiling costs far more than matching a short subject, and libFuzzer
// changes the subject of an input as often as its pattern, so each pattern
// is compiled once: the first time it comes, which is when compiling it can
// fail. Null stands for a pattern that is not matched (no program, or one
// too big to be worth the time).
std::shared_ptr<const rx::Program> compiled(std::u16string pattern, const rx::Options& options) {
    static std::unordered_map<std::u16string, std::shared_ptr<const rx::Program>> cache;
    pattern.push_back(static_cast<char16_t>((options.ignoreCase ? 1 : 0) | (options.multiline ? 2 : 0)));
    if (const auto it = cache.find(pattern); it != cache.end()) return it->second;
    auto prog = rx::compile(std::u16string_view(pattern).substr(0, pattern.size() - 1), options);
    if (prog && prog->code.size() > 4000) prog.reset();  // big programs only cost time here
    if (cache.size() >= 1024) cache.clear();  // under 150 KB each
    cache.emplace(std::move(pattern), prog);
    return prog;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t flags = data[0];
    std::u16string pattern;
    std::u16string subject;
    std::size_t i = 1;
    for (; i < size && data[i] != 0 && pattern.size() < 128; ++i) pattern += unitOf(data[i]);
    for (++i; i < size && subject.size() < 2048; ++i) subject += unitOf(data[i]);

    const rx::Options options{(flags & 1) != 0, (flags & 2) != 0};
    const auto prog = compiled(pattern, options);
    if (!prog) return 0;
    const bool global = (flags & 4) == 0;
    const rx::MatchList fast = rx::findAll(*prog, subject, global);
    checkList(fast);
    check(global || fast.count() <= 1);
    // Without the DFA, Engine::Fastest is the VM itself: nothing to compare.
    if (prog->dfaSuits) {
        const rx::MatchList vm = rx::findAll(*prog, subject, global, rx::Engine::VmOnly);
        check(fast.slots == vm.slots);
    }
    return 0;
}

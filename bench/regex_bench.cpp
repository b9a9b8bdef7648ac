// The proxy pattern over a service answer, against std::regex, and subjects
// that make backtracking engines slow, at two sizes to show linear growth.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <regex>
#include <string>

#include "util/regex/matcher.h"
#include "util/regex/program.h"
#include "util/regex_object.h"

namespace rx = velmora::regex;

namespace {

constexpr char kProxyPattern[] = "\\d+\\.\\d+\\.\\d+\\.\\d+\\:\\d+";
constexpr std::size_t kMiB = std::size_t{1} << 20;

// An answer page of `size` bytes: table rows of random proxies with a few
// other numbers between them, about 40,000 proxies per MiB.
const std::string& proxyAnswer() {
    static const std::string answer = [] {
        std::mt19937 rng(20240607);
        std::uniform_int_distribution<int> octet(0, 255);
        std::uniform_int_distribution<int> port(80, 65535);
        std::string s;
        while (s.size() < kMiB) {
            s += std::to_string(octet(rng)) + "." + std::to_string(octet(rng)) + "." +
                 std::to_string(octet(rng)) + "." + std::to_string(octet(rng)) + ":" +
                 std::to_string(port(rng)) + "<br>\r\n";
        }
        s.resize(kMiB);
        return s;
    }();
    return answer;
}

std::u16string widen(const std::string& s) { return std::u16string(s.begin(), s.end()); }

std::u16string digitsAndDots(std::size_t size) {
    std::u16string s;
    while (s.size() < size) s += u"12.345.6.78.9.";
    s.resize(size);
    return s;
}

void setBytes(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void runEngine(benchmark::State& state, const char16_t* pattern, const std::u16string& subject,
               rx::Engine engine = rx::Engine::Fastest) {
    auto prog = rx::compile(pattern, {true, true});
    int matches = 0;
    for (auto _ : state) {
        // The match list takes the subject over; copying it is not matching.
        state.PauseTiming();
        std::u16string copy = subject;
        state.ResumeTiming();
        matches = rx::findAll(*prog, std::move(copy), true, engine).count();
        benchmark::DoNotOptimize(matches);
    }
    state.counters["matches"] = matches;
    setBytes(state, subject.size());
}

void BM_ProxyEngine(benchmark::State& state) {
    runEngine(state, u"\\d+\\.\\d+\\.\\d+\\.\\d+\\:\\d+", widen(proxyAnswer()));
}

// What the extraction runs: code page conversion, matching and every match
// read back as text.
void BM_ProxyRegexObject(benchmark::State& state) {
    const std::string& answer = proxyAnswer();
    std::size_t total = 0;
    for (auto _ : state) {
        velmora::RegexObject re;
        re.create(kProxyPattern, answer);
        total = 0;
        for (int i = 1; i <= re.matchCount(); ++i) total += re.matchText(i).size();
        benchmark::DoNotOptimize(total);
    }
    setBytes(state, answer.size());
}

void BM_ProxyStdRegex(benchmark::State& state) {
    const std::string& answer = proxyAnswer();
    const std::regex re(kProxyPattern, std::regex::ECMAScript | std::regex::icase | std::regex::multiline);
    long matches = 0;
    for (auto _ : state) {
        matches = std::distance(std::sregex_iterator(answer.begin(), answer.end(), re), std::sregex_iterator());
        benchmark::DoNotOptimize(matches);
    }
    state.counters["matches"] = static_cast<double>(matches);
    setBytes(state, answer.size());
}

void BM_HostileDigitsNoColon(benchmark::State& state) {
    runEngine(state, u"\\d+\\.\\d+\\.\\d+\\.\\d+\\:\\d+", digitsAndDots(static_cast<std::size_t>(state.range(0))));
}

// The VM alone, as patterns with assertions run.
void BM_HostileDigitsNoColonVm(benchmark::State& state) {
    runEngine(state, u"\\d+\\.\\d+\\.\\d+\\.\\d+\\:\\d+", digitsAndDots(static_cast<std::size_t>(state.range(0))),
              rx::Engine::VmOnly);
}

void BM_HostileNestedAlternation(benchmark::State& state) {
    runEngine(state, u"(a|aa)*b", std::u16string(static_cast<std::size_t>(state.range(0)), u'a'));
}

void BM_HostileNestedStars(benchmark::State& state) {
    runEngine(state, u"(a*)*b", std::u16string(static_cast<std::size_t>(state.range(0)), u'a'));
}

BENCHMARK(BM_ProxyEngine)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProxyRegexObject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ProxyStdRegex)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostileDigitsNoColon)->Arg(kMiB)->Arg(4 * kMiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostileDigitsNoColonVm)->Arg(kMiB)->Arg(4 * kMiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostileNestedAlternation)->Arg(kMiB)->Arg(4 * kMiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostileNestedStars)->Arg(kMiB)->Arg(4 * kMiB)->Unit(benchmark::kMillisecond);

// Keeps each run's CPU time per iteration (steadier than wall time on a
// shared machine) so the summary can compare them.
class SummaryReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& r : runs) {
            if (r.iterations > 0) seconds[r.benchmark_name()] = r.cpu_accumulated_time / static_cast<double>(r.iterations);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

void printSummary(const std::map<std::string, double>& t) {
    auto at = [&](const std::string& name) {
        auto it = t.find(name);
        return it == t.end() ? 0.0 : it->second;
    };
    const double mb = static_cast<double>(kMiB) / 1e6;
    if (at("BM_ProxyEngine") > 0) {
        std::printf("proxy pattern, 1 MiB answer: engine %.1f MB/s, RegexObject %.1f MB/s\n",
                    mb / at("BM_ProxyEngine"), at("BM_ProxyRegexObject") > 0 ? mb / at("BM_ProxyRegexObject") : 0.0);
    }
    if (at("BM_ProxyEngine") > 0 && at("BM_ProxyStdRegex") > 0) {
        std::printf("std::regex / engine time ratio: %.1f\n", at("BM_ProxyStdRegex") / at("BM_ProxyEngine"));
    }
    for (const char* name : {"BM_HostileDigitsNoColon", "BM_HostileDigitsNoColonVm", "BM_HostileNestedAlternation",
                             "BM_HostileNestedStars"}) {
        const double small = at(std::string(name) + "/" + std::to_string(kMiB));
        const double large = at(std::string(name) + "/" + std::to_string(4 * kMiB));
        if (small > 0 && large > 0) {
            std::printf("%s: 4 MiB / 1 MiB time ratio %.2f (%.1f MB/s at 4 MiB)\n", name, large / small,
                        4 * mb / large);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    SummaryReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printSummary(reporter.seconds);
    benchmark::Shutdown();
    return 0;
}

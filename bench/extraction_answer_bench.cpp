// Reducing a service answer to its proxy lines, up to the largest answer the
// request reads (16 MiB): a page of proxies, and filler without any.
#include <benchmark/benchmark.h>

#include <string>

#include "extract/extraction.h"
#include "extract/answer_reducer.h"

namespace {

std::string proxyPage(std::size_t size) {
    std::string page;
    for (int i = 0; page.size() < size; ++i) {
        page += "<tr><td>127.0.";
        page += std::to_string(i / 250 % 256) + "." + std::to_string(i % 250 + 1) + ":8080";
        page += "</td><td>\xB5\xE7\xD0\xC5</td></tr>\n";
    }
    page.resize(size);
    return page;
}

void BM_ReduceProxyPage(benchmark::State& state) {
    const std::string answer = proxyPage(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(velmora::extract::ReduceAnswer(answer));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void BM_ReduceDigitFiller(benchmark::State& state) {
    // Dotted digits that never reach a colon: the worst case for the pattern.
    std::string answer;
    while (answer.size() < static_cast<std::size_t>(state.range(0))) answer += "1.22.333.4444.";
    for (auto _ : state) benchmark::DoNotOptimize(velmora::extract::ReduceAnswer(answer));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

const long kCap = static_cast<long>(velmora::extract::kExtractionLimits.maxBodyBytes);

}  // namespace

BENCHMARK(BM_ReduceProxyPage)->Arg(64 << 10)->Arg(kCap)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReduceDigitFiller)->Arg(kCap)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

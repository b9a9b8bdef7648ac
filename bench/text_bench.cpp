// Throughput of the text core on inputs larger than the program meets:
// a 1 MiB answer page, a long cookie text, and the start-up texts.
#include <benchmark/benchmark.h>

#include <string>

#include "util/codepage.h"
#include "http/cookies.h"
#include "http/url.h"
#include "util/start_captions.h"
#include "util/text.h"

namespace {

// Mixed Chinese and ASCII lines of proxies, about 1 MiB, in code page 936.
std::string answerPage() {
    std::string page;
    while (page.size() < (1u << 20)) {
        page += "\xD6\xD0\xCE\xC4\xB5\xD8\xD6\xB7 127.0.0.1:8080\r\n";
    }
    return page + "\xC4\xFA\xB5\xC4IP\xCA\xC7\xA3\xBA[127.0.0.9]";
}

std::string utf8Page() {
    std::string page;
    while (page.size() < (1u << 20)) {
        page += "\xE4\xB8\xAD\xE6\x96\x87 proxy 127.0.0.1:8080\r\n";
    }
    return page;
}

void BM_FindNearTheEnd(benchmark::State& state) {
    const std::string page = answerPage();
    for (auto _ : state) {
        benchmark::DoNotOptimize(velmora::text::find(page, "IP", 0, true));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_FindNearTheEnd);

void BM_SplitLines(benchmark::State& state) {
    const std::string page = answerPage();
    for (auto _ : state) {
        benchmark::DoNotOptimize(velmora::text::split(page, "\r\n"));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_SplitLines);

void BM_TextBetween(benchmark::State& state) {
    const std::string page = answerPage();
    for (auto _ : state) {
        benchmark::DoNotOptimize(velmora::http::textBetween(page, "\xCA\xC7\xA3\xBA[", "]"));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_TextBetween);

void BM_MergeCookies(benchmark::State& state) {
    std::string old;
    std::string fresh;
    for (int i = 0; i < state.range(0); ++i) {
        old.append("old").append(std::to_string(i)).append("=value; ");
        fresh.append("new").append(std::to_string(i)).append("=value;");
    }
    for (auto _ : state) {
        std::string cookies = old;
        std::string newCookies = fresh;
        benchmark::DoNotOptimize(velmora::http::mergeCookies(cookies, newCookies));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * 2);
}
BENCHMARK(BM_MergeCookies)->Arg(10)->Arg(1000)->Arg(100000);

void BM_Utf8ToGbk(benchmark::State& state) {
    const std::string page = utf8Page();
    for (auto _ : state) {
        benchmark::DoNotOptimize(velmora::codepage::utf8ToGbk(page));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_Utf8ToGbk);

void BM_DecodeStartCaptions(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(velmora::decodeStartCaptions());
    }
}
BENCHMARK(BM_DecodeStartCaptions);

}  // namespace

BENCHMARK_MAIN();

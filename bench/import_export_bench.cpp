// Import and export of a 100,000-row proxy list through the list operations.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>
#include <vector>

#include "actions/proxy_file.h"
#include "support/memory_window.h"

namespace {

using velmora::fakes::MemoryWindow;
using velmora::model::Row;

constexpr int kRows = 100'000;

std::string proxyFile() {
    std::string file;
    for (int i = 0; i < kRows; ++i) {
        file += "10." + std::to_string(i / 65536) + "." + std::to_string(i / 256 % 256) + "." +
                std::to_string(i % 256) + ":" + std::to_string(1024 + i % 60000) + "\r\n";
    }
    return file;
}

class MemorySource final : public velmora::actions::ByteSource {
public:
    explicit MemorySource(const std::string& bytes) : bytes_(bytes) {}
    std::optional<std::size_t> read(char* buffer, std::size_t size) override {
        const std::size_t n = std::min(size, bytes_.size() - at_);
        bytes_.copy(buffer, n, at_);
        at_ += n;
        return n;
    }

private:
    const std::string& bytes_;
    std::size_t at_ = 0;
};

void BM_Import100kRows(benchmark::State& state) {
    const std::string file = proxyFile();
    for (auto _ : state) {
        MemoryWindow window;
        MemorySource source(file);
        velmora::actions::importProxies(source, window);
        benchmark::DoNotOptimize(window.rowCount());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
    state.SetBytesProcessed(state.iterations() * static_cast<long long>(file.size()));
}
BENCHMARK(BM_Import100kRows)->Unit(benchmark::kMillisecond);

void BM_Export100kRows(benchmark::State& state) {
    MemoryWindow window;
    const std::string file = proxyFile();
    MemorySource source(file);
    velmora::actions::importProxies(source, window);
    for (auto _ : state) {
        const std::string text = velmora::actions::proxyFileText(window);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_Export100kRows)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

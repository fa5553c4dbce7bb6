#include "engine/NodeIngressTable.h"
#include "format/TextCodec.h"

#include <benchmark/benchmark.h>
#include <chrono>

namespace {

using namespace std::chrono;

// Every day the program offers, as the year and positions the main window hands over.
void BM_NorthNodeSignForEveryDay(benchmark::State& state) {
    std::int64_t lookups = 0;
    for (auto _ : state) {
        for (sys_days day{1940y / 1 / 1}; day <= sys_days{2009y / 12 / 31}; day += days{1}) {
            const year_month_day date{day};
            benchmark::DoNotOptimize(northNodeSignAt(
                int(date.year()), static_cast<std::int16_t>(unsigned(date.month()) - 1),
                static_cast<std::int16_t>(unsigned(date.day()) - 1)));
            ++lookups;
        }
    }
    state.SetItemsProcessed(lookups);
}
BENCHMARK(BM_NorthNodeSignForEveryDay);

void BM_EncodeThenDecodeLine(benchmark::State& state) {
    const std::string line = "ANNABELLE MARGARET WORTHINGTON";
    for (auto _ : state)
        benchmark::DoNotOptimize(decodeText(encodeText(line)));
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(line.size()));
}
BENCHMARK(BM_EncodeThenDecodeLine);

} // namespace

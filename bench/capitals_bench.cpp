// Throughput of the capital-amount routine over a spread of cheque amounts.
#include "app/capitals/capitals.h"
#include "platform/value/numbertext.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> sampleAmounts()
{
    std::vector<std::string> amounts;
    double x = 0.01;
    for (int i = 0; i < 256; ++i) {
        amounts.push_back(pemvora::formatNumber(x));
        x = x * 3.7 + 0.13;
        if (x > 1e12) x = 0.05 * (i + 1);
    }
    return amounts;
}

void BM_AmountToCapitals(benchmark::State& state)
{
    const std::vector<std::string> amounts = sampleAmounts();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pemvora::app::AmountToCapitals(amounts[i++ & 255]));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AmountToCapitals);

void BM_AmountToCapitalsLongest(benchmark::State& state)
{
    for (auto _ : state) benchmark::DoNotOptimize(pemvora::app::AmountToCapitals("9876543210.12"));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_AmountToCapitalsLongest);

} // namespace

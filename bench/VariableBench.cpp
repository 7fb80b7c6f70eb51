// The console program's -v checks: every name is checked against all the
// earlier ones, letter case ignored. Time per name must stay flat as the
// count grows (100,000 names well under a second in all).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "ConsoleOutput.h"
#include "VariableDefinitions.h"

namespace {

void BM_DefineVariables(benchmark::State& state) {
    std::vector<VariableDefinition> definitions;
    for (std::int64_t i = 0; i < state.range(0); ++i)
        definitions.push_back({"Rate" + std::to_string(i), "2.5"});
    ConsoleOutput output;
    for (auto _ : state) {
        auto table = DefineVariables(definitions, output);
        if (!table || table->Size() != definitions.size())
            state.SkipWithError("a definition was refused");
        benchmark::DoNotOptimize(table);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DefineVariables)
    ->Name("Variables/Define")
    ->Arg(1000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

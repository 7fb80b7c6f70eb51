// The console program's -v checks: every name is checked against all the
// earlier ones, letter case ignored. Time per name must stay flat as the
// count grows (100,000 names well under a second in all). And a short
// computation with the tree the window draws, which must not grow with the
// number of variables it could read.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "ConsoleOutput.h"
#include "ExpCompute.h"
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

void BM_ComputeWithVariables(benchmark::State& state) {
    VarTable variables;
    for (std::int64_t i = 0; i < state.range(0); ++i)
        variables.Set("v" + std::to_string(i), 1.5);
    for (auto _ : state) {
        const ComputedExpression computed = ComputeExpressionTree("v7+1", variables);
        benchmark::DoNotOptimize(computed.value);
    }
}
BENCHMARK(BM_ComputeWithVariables)
    ->Name("Variables/ComputeTree")
    ->Arg(1000)
    ->Arg(400'000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

// Throughput of the natural form in bytes of expression text per second.
//
//   Render/...          NaturalForm::Render(50) on a tree parsed beforehand:
//                       measuring, drawing and cutting into lines.
//   ComputeAndDraw/...  what `tallyfern-cli --natural` does per expression:
//                       parse, evaluate, draw, free.
//
// Inputs: long sums, sums of fractions, nested fractions, and a tower of
// powers. Nested fractions and towers draw as squares as high as they are
// wide, so their text grows with the square of the nesting and their rate
// per input byte falls accordingly.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ExpCompute.h"
#include "ExpException.h"
#include "ExpParser.h"
#include "NaturalForm.h"
#include "VarTable.h"

namespace {

constexpr int kLineWidth = 50;

// "1+2.5+3+4.75+..." of n terms.
std::string LongSum(std::int64_t terms) {
    static const char* const kTerms[] = {"1", "2.5", "3", "4.75", "10", "0.125", "7"};
    std::string text;
    for (std::int64_t i = 0; i < terms; ++i) {
        if (i > 0)
            text += '+';
        text += kTerms[i % 7];
    }
    return text;
}

// "1/2+3/4+5/6+..." of n fractions.
std::string SumOfFractions(std::int64_t terms) {
    std::string text;
    for (std::int64_t i = 0; i < terms; ++i) {
        if (i > 0)
            text += '+';
        text += std::to_string(2 * i + 1) + "/" + std::to_string(2 * i + 2);
    }
    return text;
}

// "1/(1/(...1/(1)...))" nested `depth` times.
std::string NestedFractions(std::int64_t depth) {
    std::string text;
    for (std::int64_t i = 0; i < depth; ++i)
        text += "1/(";
    return text + "1" + std::string(static_cast<std::size_t>(depth), ')');
}

// "2^(2^(...2^(2)...))" nested `depth` times.
std::string Tower(std::int64_t depth) {
    std::string text;
    for (std::int64_t i = 0; i < depth; ++i)
        text += "2^(";
    return text + "2" + std::string(static_cast<std::size_t>(depth), ')');
}

void ReportBytes(benchmark::State& state, std::size_t bytesPerIteration, std::size_t lines) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytesPerIteration));
    state.counters["bytes"] = static_cast<double>(bytesPerIteration);
    state.counters["lines"] = static_cast<double>(lines);
}

template <std::string (*Make)(std::int64_t)>
void BM_Render(benchmark::State& state) {
    const std::string text = Make(state.range(0));
    NaturalForm naturalForm(ExpParser(text).Parse());
    std::size_t lines = 0;
    for (auto _ : state) {
        const std::vector<std::string> drawn = naturalForm.Render(kLineWidth);
        lines = drawn.size();
        benchmark::DoNotOptimize(drawn.data());
    }
    if (naturalForm.IsTooLarge())
        state.SkipWithError("the drawing was refused as too large");
    ReportBytes(state, text.size(), lines);
}

template <std::string (*Make)(std::int64_t)>
void BM_ComputeAndDraw(benchmark::State& state) {
    const std::string text = Make(state.range(0));
    const VarTable vars;
    std::size_t lines = 0;
    try {
        for (auto _ : state) {
            ComputedExpression computed = ComputeExpressionTree(text, vars);
            NaturalForm naturalForm(std::move(computed.tree));
            const std::vector<std::string> drawn = naturalForm.Render(kLineWidth);
            lines = drawn.size();
            benchmark::DoNotOptimize(drawn.data());
        }
    } catch (const ExpException& e) {
        state.SkipWithError(("engine error code " + std::to_string(e.GetCode())).c_str());
        return;
    }
    ReportBytes(state, text.size(), lines);
}

void LongSumSizes(benchmark::internal::Benchmark* b) {
    b->RangeMultiplier(10)->Range(1'000, 1'000'000)->Unit(benchmark::kMillisecond);
}

void FractionSums(benchmark::internal::Benchmark* b) {
    b->RangeMultiplier(10)->Range(1'000, 100'000)->Unit(benchmark::kMillisecond);
}

void SquareDepths(benchmark::internal::Benchmark* b) {
    b->Arg(10)->Arg(100)->Arg(1'000)->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_Render<LongSum>)->Name("Render/LongSum")->Apply(LongSumSizes);
BENCHMARK(BM_Render<SumOfFractions>)->Name("Render/SumOfFractions")->Apply(FractionSums);
BENCHMARK(BM_Render<NestedFractions>)->Name("Render/NestedFractions")->Apply(SquareDepths);
BENCHMARK(BM_Render<Tower>)->Name("Render/Tower")->Apply(SquareDepths);
BENCHMARK(BM_ComputeAndDraw<LongSum>)->Name("ComputeAndDraw/LongSum")->Apply(LongSumSizes);

// The graph's curve: from the expression's text to its pieces, 2,000 values
// a curve (a window 1,999 pixels wide), for an expression typed by hand
// (200 characters) and a pasted one (10,000). An edit redraws within a
// frame when the short one takes well under 16 ms; the long one within
// 100 ms. A curve with poles shows what finding its jumps adds. The long
// one's values are computed on two threads, as the graph window does; the
// row "OneThread" shows what the second thread saves.
#include <benchmark/benchmark.h>

#include <string>

#include "CurveSampler.h"
#include "PlotFunction.h"
#include "VarTable.h"

namespace {

// A smooth sum of calls, powers and quotients about `length` characters long.
std::string SmoothExpression(std::size_t length) {
    const std::string term = "sin(x)*0.5+x^2/70-cos(x/3)*a+";
    std::string text;
    while (text.size() + term.size() < length)
        text += term;
    text += "1";
    return text;
}

void SampleOnce(benchmark::State& state, const std::string& expression, int columns,
                int threads = 1) {
    VarTable variables;
    variables.Insert("a", 0.25);
    SampleRequest request;         // x from -10 to 10
    request.pixelWidth = columns;  // and a value more
    request.pixelHeight = 600;
    request.threads = threads;
    std::size_t computations = 0;
    std::size_t pieces = 0;
    for (auto _ : state) {
        PlotFunction function(expression, "x", variables);
        const SampledCurve curve = SampleCurve(function, request);
        computations = curve.computations;
        pieces = curve.pieces.size();
        benchmark::DoNotOptimize(curve);
    }
    state.counters["computations"] = static_cast<double>(computations);
    state.counters["pieces"] = static_cast<double>(pieces);
    state.SetLabel(std::to_string(expression.size()) + " characters");
}

// The graph window shares the values of a long expression between two
// threads.
constexpr std::size_t kSharedAbove = 1000;

void BM_SampleSmooth(benchmark::State& state) {
    const auto length = static_cast<std::size_t>(state.range(0));
    SampleOnce(state, SmoothExpression(length), static_cast<int>(state.range(1)),
               length > kSharedAbove ? 2 : 1);
}
BENCHMARK(BM_SampleSmooth)
    ->Name("Plot/Sample")
    ->Args({200, 1999})
    ->Args({10'000, 1999})
    // A window 1,000 pixels wide.
    ->Args({10'000, 1000})
    ->Unit(benchmark::kMillisecond);

void BM_SampleOneThread(benchmark::State& state) {
    SampleOnce(state, SmoothExpression(10'000), 1000);
}
BENCHMARK(BM_SampleOneThread)
    ->Name("Plot/SampleOneThread/10000/1000")
    ->Unit(benchmark::kMillisecond);

void BM_SamplePoles(benchmark::State& state) {
    // Six poles and a step in view, near 200 characters.
    SampleOnce(state, "tan(x)+abs(x-1)/(x-1)+" + SmoothExpression(170), 1999);
}
BENCHMARK(BM_SamplePoles)->Name("Plot/SamplePoles")->Unit(benchmark::kMillisecond);

}  // namespace

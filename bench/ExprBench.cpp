// Throughput of the expression engine in bytes of expression text per second.
//
//   Parse/...    ExpParser::Parse alone; freeing the tree is not timed.
//   Evaluate/... ExpEvaluator::Evaluate on a tree parsed beforehand.
//   Compute/...  ComputeExpression: parse, evaluate, free; ShortInWorkspace
//                computes one after another in an ExpressionWorkspace.
//   Copy/...     copying a parsed tree (its array); freeing the copy is not timed.
//   Free/...     freeing a parsed tree alone.
//   Console/...  the five shapes the console program is timed on, computed in
//                a workspace without a tree (ComputeValue) and, ".../tree",
//                with one (Compute).
//
// Inputs: long sums ("1+2.5+3+..." of N terms), short expressions computed one
// at a time, and deep nesting of parentheses, sin calls and signs.
//
// Runs are short by default (--benchmark_min_time=0.05); pass your own
// --benchmark_min_time or --benchmark_filter=REGEX as usual.

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ExpCompute.h"
#include "ExpEvaluator.h"
#include "ExpException.h"
#include "ExpParser.h"
#include "ExpressionWorkspace.h"
#include "VarTable.h"

namespace {

// One expression with the value the engine must give for it.
struct Input {
    std::string text;
    double expected;
};

// "1+2.5+3+4.75+..." with `terms` terms; the expected value is summed in the
// same order, left to right.
Input LongSum(std::int64_t terms) {
    static constexpr std::array<std::pair<std::string_view, double>, 7> kTerms{{
        {"1", 1.0},
        {"2.5", 2.5},
        {"3", 3.0},
        {"4.75", 4.75},
        {"10", 10.0},
        {"0.125", 0.125},
        {"7", 7.0},
    }};
    Input in;
    in.text.reserve(static_cast<std::size_t>(terms) * 4);
    in.expected = 0.0;
    for (std::int64_t i = 0; i < terms; ++i) {
        const auto& [text, value] = kTerms[static_cast<std::size_t>(i) % kTerms.size()];
        if (i > 0)
            in.text += '+';
        in.text += text;
        in.expected = i == 0 ? value : in.expected + value;
    }
    return in;
}

// ((((1)))) with `depth` pairs.
Input Parens(std::int64_t depth) {
    const auto n = static_cast<std::size_t>(depth);
    return {std::string(n, '(') + "1" + std::string(n, ')'), 1.0};
}

// sin(sin(...sin(0.5)...)) with `depth` calls.
Input NestedSin(std::int64_t depth) {
    Input in;
    const auto n = static_cast<std::size_t>(depth);
    in.text.reserve(n * 5 + 3);
    for (std::size_t i = 0; i < n; ++i)
        in.text += "sin(";
    in.text += "0.5";
    in.text.append(n, ')');
    in.expected = 0.5;
    for (std::size_t i = 0; i < n; ++i)
        in.expected = std::sin(in.expected);
    return in;
}

// abs(1,1/abs(0,...1...)) with `depth` levels: each level divides by zero,
// an error its call drops with the argument it does not use.
Input DroppedDivisions(std::int64_t depth) {
    Input in;
    const auto n = static_cast<std::size_t>(depth);
    in.text.reserve(n * 16 + 1);
    for (std::size_t i = 0; i < n; ++i)
        in.text += "abs(1,1/abs(0,";
    in.text += '1';
    in.text.append(2 * n, ')');
    in.expected = 1.0;
    return in;
}

// -(-(...-(1)...)) with `depth` signs.
Input NestedNegation(std::int64_t depth) {
    Input in;
    const auto n = static_cast<std::size_t>(depth);
    in.text.reserve(n * 3 + 1);
    for (std::size_t i = 0; i < n; ++i)
        in.text += "-(";
    in.text += '1';
    in.text.append(n, ')');
    in.expected = depth % 2 == 0 ? 1.0 : -1.0;
    return in;
}

// A thousand short expressions in the shape of 3.5*(2+4.25)/7-1.5, with
// different numbers so that no two are alike.
const std::vector<Input>& ShortExpressions() {
    static const std::vector<Input> inputs = [] {
        std::vector<Input> out;
        for (int i = 0; i < 1000; ++i) {
            const double a = 1.5 + i % 17;
            const double b = 2 + i % 5;
            const double c = 0.25 * (i % 29);
            const double d = 3 + i % 11;
            const double e = 0.5 * (i % 7);
            Input in;
            in.text = FormatResult(a) + "*(" + FormatResult(b) + "+" + FormatResult(c) + ")/" +
                      FormatResult(d) + "-" + FormatResult(e);
            in.expected = a * (b + c) / d - e;
            out.push_back(std::move(in));
        }
        return out;
    }();
    return inputs;
}

// The five shapes the console program is timed on against a one-pass
// evaluator with no tree (bench/RESULTS.md), made the same way: numbers of
// two decimals, sums mostly of '+' with short runs of '*' and '/', nesting
// that alternates "1+0.5*(" and "0.75*(", and sin( within sin(.
class ShapeNumbers {
  public:
    // A number in [lo, hi] with up to `decimals` decimals, as text.
    std::string Next(double lo, double hi, int decimals) {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double unit = static_cast<double>(m_state >> 11) / 9007199254740992.0;
        std::string text = FormatResult(lo + unit * (hi - lo));
        const std::size_t point = text.find('.');
        if (point != std::string::npos && text.size() > point + 1 + decimals)
            text.resize(point + 1 + static_cast<std::size_t>(decimals));
        return text;
    }
    double Unit() {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(m_state >> 11) / 9007199254740992.0;
    }

  private:
    std::uint64_t m_state = 20240601;
};

// The value the tree gives: these shapes check that computing without one
// gives the same.
Input WithTreeValue(std::string text) {
    const double value = ComputeExpressionTree(text, VarTable{}).value;
    return {std::move(text), value};
}

Input MixedSum(std::int64_t terms) {
    ShapeNumbers numbers;
    std::string text;
    for (std::int64_t count = 0; count < terms;) {
        if (count > 0)
            text += numbers.Unit() < 0.7 ? '+' : '-';
        text += numbers.Next(1, 99, 2);
        ++count;
        while (count < terms && numbers.Unit() < 0.35) {
            text += numbers.Unit() < 0.5 ? '*' : '/';
            text += numbers.Next(0.5, 2, 3);
            ++count;
        }
    }
    return WithTreeValue(std::move(text));
}

Input AlternatingParens(std::int64_t depth) {
    std::string text;
    for (std::int64_t i = 0; i < depth; ++i)
        text += i % 2 == 0 ? "1+0.5*(" : "0.75*(";
    text += "0.5";
    text.append(static_cast<std::size_t>(depth), ')');
    return WithTreeValue(std::move(text));
}

// 100,000 short expressions of the kinds a user types.
const std::vector<Input>& ShortLines() {
    static const std::vector<Input> inputs = [] {
        ShapeNumbers numbers;
        std::vector<Input> out;
        for (int i = 0; i < 100'000; ++i) {
            const std::string a = numbers.Next(1, 99, 2), b = numbers.Next(1, 99, 2),
                              c = numbers.Next(1, 99, 2), d = numbers.Next(1, 99, 2);
            const std::string forms[] = {
                a + "*(" + b + "+" + c + ")/" + d,
                a + "+" + b + "*" + c + "-" + d,
                "(" + a + "-" + b + ")*(" + c + "+" + d + ")",
                "sin(" + a + ")*" + b + "+" + c,
                "cos(" + a + "/" + b + ")+" + c + "*" + d,
                "atan(" + a + ")*" + b + "-" + c + "/" + d,
                "abs(" + a + "-" + b + ")+" + c,
                "(" + a + "/" + b + ")^2+" + c,
            };
            out.push_back(WithTreeValue(forms[i % 8]));
        }
        return out;
    }();
    return inputs;
}

// Computes the input once before timing: a benchmark of a wrong answer or an
// error is worthless.
bool Check(benchmark::State& state, const Input& in) {
    try {
        const double got = ComputeExpression(in.text, VarTable{});
        if (got == in.expected)
            return true;
        state.SkipWithError(
            ("wrong result " + FormatResult(got) + ", expected " + FormatResult(in.expected))
                .c_str());
    } catch (const ExpException& e) {
        state.SkipWithError(("engine error code " + std::to_string(e.GetCode())).c_str());
    }
    return false;
}

void ReportBytes(benchmark::State& state, std::size_t bytesPerIteration) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytesPerIteration));
    state.counters["bytes"] = static_cast<double>(bytesPerIteration);
}

void ParseOne(benchmark::State& state, const Input& in) {
    if (!Check(state, in))
        return;
    for (auto _ : state) {
        ExpParser parser(in.text);
        std::unique_ptr<ExpressionTree> tree = parser.Parse();
        benchmark::DoNotOptimize(tree.get());
        state.PauseTiming();
        tree.reset();
        state.ResumeTiming();
    }
    ReportBytes(state, in.text.size());
}

void EvaluateOne(benchmark::State& state, const Input& in) {
    if (!Check(state, in))
        return;
    const VarTable vars;
    ExpEvaluator evaluator;
    evaluator.m_funcs.SetVariables(&vars);
    evaluator.m_tree = ExpParser(in.text).Parse();
    for (auto _ : state) {
        benchmark::DoNotOptimize(evaluator.Evaluate(*evaluator.m_tree));
    }
    ReportBytes(state, in.text.size());
}

void ComputeOne(benchmark::State& state, const Input& in) {
    if (!Check(state, in))
        return;
    const VarTable vars;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeExpression(in.text, vars));
    }
    ReportBytes(state, in.text.size());
}

// Copying a parsed tree (what drawing a tree the caller keeps costs first),
// and freeing one, which a computation does once it is done.
void CopyOne(benchmark::State& state, const Input& in) {
    if (!Check(state, in))
        return;
    const std::unique_ptr<ExpressionTree> tree = ExpParser(in.text).Parse();
    for (auto _ : state) {
        std::unique_ptr<ExpressionTree> copy = std::make_unique<ExpressionTree>(*tree);
        benchmark::DoNotOptimize(copy.get());
        state.PauseTiming();
        copy.reset();
        state.ResumeTiming();
    }
    ReportBytes(state, in.text.size());
}

void FreeOne(benchmark::State& state, const Input& in) {
    if (!Check(state, in))
        return;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<ExpressionTree> tree = ExpParser(in.text).Parse();
        state.ResumeTiming();
        tree.reset();
        benchmark::DoNotOptimize(tree.get());
    }
    ReportBytes(state, in.text.size());
}

template <Input (*Make)(std::int64_t)>
void BM_Copy(benchmark::State& state) {
    CopyOne(state, Make(state.range(0)));
}
template <Input (*Make)(std::int64_t)>
void BM_Free(benchmark::State& state) {
    FreeOne(state, Make(state.range(0)));
}

template <Input (*Make)(std::int64_t)>
void BM_Parse(benchmark::State& state) {
    ParseOne(state, Make(state.range(0)));
}
template <Input (*Make)(std::int64_t)>
void BM_Evaluate(benchmark::State& state) {
    EvaluateOne(state, Make(state.range(0)));
}
template <Input (*Make)(std::int64_t)>
void BM_Compute(benchmark::State& state) {
    ComputeOne(state, Make(state.range(0)));
}

// Short expressions, one at a time. Freeing each tree belongs to the timed
// loop here (pausing the clock would cost more than the parse); the Parse
// figure therefore includes it.
void BM_ParseShort(benchmark::State& state) {
    const auto& inputs = ShortExpressions();
    for (const Input& in : inputs)
        if (!Check(state, in))
            return;
    std::size_t i = 0, bytes = 0;
    for (auto _ : state) {
        const Input& in = inputs[i];
        i = i + 1 == inputs.size() ? 0 : i + 1;
        ExpParser parser(in.text);
        benchmark::DoNotOptimize(parser.Parse());
        bytes += in.text.size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

void BM_ComputeShort(benchmark::State& state) {
    const auto& inputs = ShortExpressions();
    for (const Input& in : inputs)
        if (!Check(state, in))
            return;
    const VarTable vars;
    std::size_t i = 0, bytes = 0;
    for (auto _ : state) {
        const Input& in = inputs[i];
        i = i + 1 == inputs.size() ? 0 : i + 1;
        benchmark::DoNotOptimize(ComputeExpression(in.text, vars));
        bytes += in.text.size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

// The same in one workspace, as the console program computes its lines:
// the tree and the stacks are kept from one expression to the next.
void BM_ComputeShortInWorkspace(benchmark::State& state) {
    const auto& inputs = ShortExpressions();
    for (const Input& in : inputs)
        if (!Check(state, in))
            return;
    const VarTable vars;
    ExpressionWorkspace workspace(vars);
    std::size_t i = 0, bytes = 0;
    for (auto _ : state) {
        const Input& in = inputs[i];
        i = i + 1 == inputs.size() ? 0 : i + 1;
        benchmark::DoNotOptimize(workspace.Compute(in.text));
        bytes += in.text.size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

// A shape in a workspace as the console program computes a line: without
// a tree (ComputeValue), and with one, as when its natural form is drawn.
template <Input (*Make)(std::int64_t), bool kWithTree>
void BM_Console(benchmark::State& state) {
    const Input in = Make(state.range(0));
    if (!Check(state, in))
        return;
    const VarTable vars;
    ExpressionWorkspace workspace(vars);
    for (auto _ : state)
        benchmark::DoNotOptimize(kWithTree ? workspace.Compute(in.text)
                                           : workspace.ComputeValue(in.text));
    ReportBytes(state, in.text.size());
}

template <bool kWithTree>
void BM_ConsoleShortLines(benchmark::State& state) {
    const auto& inputs = ShortLines();
    for (const Input& in : inputs)
        if (!Check(state, in))
            return;
    const VarTable vars;
    ExpressionWorkspace workspace(vars);
    std::size_t i = 0, bytes = 0;
    for (auto _ : state) {
        const Input& in = inputs[i];
        i = i + 1 == inputs.size() ? 0 : i + 1;
        benchmark::DoNotOptimize(kWithTree ? workspace.Compute(in.text)
                                           : workspace.ComputeValue(in.text));
        bytes += in.text.size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}

void ConsoleSums(benchmark::internal::Benchmark* b) {
    b->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
}

void LongSumSizes(benchmark::internal::Benchmark* b) {
    for (std::int64_t n : {1'000, 10'000, 100'000, 1'000'000})
        b->Arg(n);
    b->Unit(benchmark::kMillisecond);
}
void NestingDepths(benchmark::internal::Benchmark* b) {
    for (std::int64_t n : {10'000, 100'000})
        b->Arg(n);
    b->Unit(benchmark::kMillisecond);
}
void DeepOnly(benchmark::internal::Benchmark* b) {
    b->Arg(100'000)->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK(BM_Parse<LongSum>)->Name("Parse/LongSum")->Apply(LongSumSizes);
BENCHMARK(BM_Evaluate<LongSum>)->Name("Evaluate/LongSum")->Apply(LongSumSizes);
BENCHMARK(BM_Compute<LongSum>)->Name("Compute/LongSum")->Apply(LongSumSizes);
BENCHMARK(BM_Copy<LongSum>)->Name("Copy/LongSum")->Apply(LongSumSizes);
BENCHMARK(BM_Free<LongSum>)->Name("Free/LongSum")->Apply(LongSumSizes);

BENCHMARK(BM_ParseShort)->Name("Parse/Short");
BENCHMARK(BM_ComputeShort)->Name("Compute/Short");
BENCHMARK(BM_ComputeShortInWorkspace)->Name("Compute/ShortInWorkspace");

BENCHMARK(BM_Parse<Parens>)->Name("Parse/Parens")->Apply(NestingDepths);
BENCHMARK(BM_Evaluate<Parens>)->Name("Evaluate/Parens")->Apply(NestingDepths);
BENCHMARK(BM_Compute<Parens>)->Name("Compute/Parens")->Apply(NestingDepths);
BENCHMARK(BM_Parse<NestedSin>)->Name("Parse/NestedSin")->Apply(NestingDepths);
BENCHMARK(BM_Evaluate<NestedSin>)->Name("Evaluate/NestedSin")->Apply(NestingDepths);
BENCHMARK(BM_Compute<NestedSin>)->Name("Compute/NestedSin")->Apply(NestingDepths);
BENCHMARK(BM_Evaluate<DroppedDivisions>)->Name("Evaluate/DroppedDivisions")->Apply(NestingDepths);
BENCHMARK(BM_Parse<NestedNegation>)->Name("Parse/NestedNegation")->Apply(DeepOnly);
BENCHMARK(BM_Evaluate<NestedNegation>)->Name("Evaluate/NestedNegation")->Apply(DeepOnly);
BENCHMARK(BM_Compute<NestedNegation>)->Name("Compute/NestedNegation")->Apply(DeepOnly);

BENCHMARK(BM_ConsoleShortLines<false>)->Name("Console/ShortLines");
BENCHMARK(BM_ConsoleShortLines<true>)->Name("Console/ShortLines/tree");
BENCHMARK(BM_Console<MixedSum, false>)->Name("Console/Sum")->Apply(ConsoleSums);
BENCHMARK(BM_Console<MixedSum, true>)->Name("Console/Sum/tree")->Apply(ConsoleSums);
BENCHMARK(BM_Console<AlternatingParens, false>)->Name("Console/Parens")->Apply(DeepOnly);
BENCHMARK(BM_Console<AlternatingParens, true>)->Name("Console/Parens/tree")->Apply(DeepOnly);
BENCHMARK(BM_Console<NestedSin, false>)->Name("Console/NestedSin")->Apply(DeepOnly);
BENCHMARK(BM_Console<NestedSin, true>)->Name("Console/NestedSin/tree")->Apply(DeepOnly);

int main(int argc, char** argv) {
    // Short runs unless the caller chose a minimum time.
    std::vector<char*> args(argv, argv + argc);
    bool minTimeGiven = false;
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--benchmark_min_time", 20) == 0)
            minTimeGiven = true;
    static char defaultMinTime[] = "--benchmark_min_time=0.05";
    if (!minTimeGiven)
        args.insert(args.begin() + 1, defaultMinTime);
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);

    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

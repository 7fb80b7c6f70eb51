// The window's and the console's computation: strip, parse, evaluate with a
// few variables, format the result or compose the error message. A copy of
// the tree evaluates to the same value, and the console program's
// workspace, which keeps its storage from one text to the next, computes
// the same value or fails with the same error, with and without a tree
// (the value computed while the text is read), and so do
// ComputeExpression, which builds none, and the graph's program of steps.
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

#include "ExpCompute.h"
#include "ExpEvaluator.h"
#include "ExpException.h"
#include "ExpressionWorkspace.h"
#include "FifteenDigits.h"
#include "FuzzSupport.h"
#include "PlotFunction.h"
#include "VarTable.h"

namespace {

const VarTable& Variables() {
    static const VarTable table = [] {
        VarTable t;
        t.Insert("x", 2);
        t.Insert("y", -0.5);
        t.Insert("big", 1e300);
        t.Insert("tiny", 1e-300);
        t.Insert("zero", 0);
        t.Insert("X_1", 3.25);
        return t;
    }();
    return table;
}

bool SameValue(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// Whether `compute` fails exactly as `error` says.
template <class Compute>
bool FailsAlike(const ExpException& error, Compute&& compute) {
    try {
        compute();
    } catch (const ExpException& again) {
        return again.GetCode() == error.GetCode() && again.GetPosition() == error.GetPosition() &&
               again.GetPlace() == error.GetPlace() && again.GetErrorText() == error.GetErrorText();
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static ExpressionWorkspace workspace(Variables());
    const std::string stripped = StripWhitespace(Fuzz::AsText(data, size));
    try {
        const ComputedExpression computed = ComputeExpressionTree(stripped, Variables());
        // The result check lets no NaN or infinity through.
        FUZZ_CHECK(std::isfinite(computed.value));
        FUZZ_CHECK(computed.tree != nullptr);
        const std::string shown = FormatResult(computed.value);
        FUZZ_CHECK(!shown.empty() && shown.size() < 32);
        // The quick way writes what to_chars writes, or leaves it to it.
        char quick[32];
        char slow[32];
        if (const char* end = WriteFifteenDigits(quick, computed.value)) {
            const char* slowEnd = std::to_chars(slow, slow + sizeof slow, computed.value,
                                                std::chars_format::general, 15)
                                      .ptr;
            FUZZ_CHECK(std::string_view(quick, static_cast<std::size_t>(end - quick)) ==
                       std::string_view(slow, static_cast<std::size_t>(slowEnd - slow)));
        }

        ExpEvaluator evaluator;
        evaluator.m_variables.Assign(Variables());
        evaluator.m_funcs.SetVariables(&Variables());
        evaluator.m_tree = std::make_unique<ExpressionTree>(*computed.tree);
        FUZZ_CHECK(SameValue(evaluator.Evaluate(*evaluator.m_tree), computed.value));
        FUZZ_CHECK(SameValue(workspace.Compute(stripped), computed.value));
        FUZZ_CHECK(SameValue(workspace.ComputeValue(stripped), computed.value));
        FUZZ_CHECK(SameValue(ComputeExpression(stripped, Variables()), computed.value));
        // The graph's program, x given its table value.
        const std::optional<double> plotted = PlotFunction(stripped, "x", Variables()).ValueAt(2);
        FUZZ_CHECK(plotted && SameValue(*plotted, computed.value));
    } catch (const ExpException& error) {
        const std::string message = ComposeErrorMessage(error, stripped);
        FUZZ_CHECK(!message.empty());
        FUZZ_CHECK(FailsAlike(error, [&] { workspace.Compute(stripped); }));
        FUZZ_CHECK(FailsAlike(error, [&] { workspace.ComputeValue(stripped); }));
        FUZZ_CHECK(FailsAlike(error, [&] { ComputeExpression(stripped, Variables()); }));
        // A text that parses has no value on the graph either, and the
        // graph tells the same error.
        std::optional<PlotFunction> plot;
        try {
            plot.emplace(stripped, "x", Variables());
        } catch (const ExpException&) {
        }
        if (plot) {
            FUZZ_CHECK(!plot->ValueAt(2));
            FUZZ_CHECK(FailsAlike(error, [&] { plot->Compute(2); }));
        }
    }
    return 0;
}

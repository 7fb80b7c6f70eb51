// The window's and the console's computation: strip, parse, evaluate with a
// few variables, format the result or compose the error message. A copy of
// the tree evaluates to the same value, and the console program's
// workspace, which keeps its storage from one text to the next, computes
// the same value or fails with the same error.
#include <bit>
#include <cmath>
#include <cstdint>

#include "ExpCompute.h"
#include "ExpEvaluator.h"
#include "ExpException.h"
#include "ExpressionWorkspace.h"
#include "FuzzSupport.h"
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

        ExpEvaluator evaluator;
        evaluator.m_variables.Assign(Variables());
        evaluator.m_funcs.SetVariables(&Variables());
        evaluator.m_tree = std::make_unique<ExpressionTree>(*computed.tree);
        FUZZ_CHECK(SameValue(evaluator.Evaluate(*evaluator.m_tree), computed.value));
        FUZZ_CHECK(SameValue(workspace.Compute(stripped), computed.value));
    } catch (const ExpException& error) {
        const std::string message = ComposeErrorMessage(error, stripped);
        FUZZ_CHECK(!message.empty());
        bool failedAlike = false;
        try {
            workspace.Compute(stripped);
        } catch (const ExpException& again) {
            failedAlike = again.GetCode() == error.GetCode() &&
                          again.GetPosition() == error.GetPosition() &&
                          again.GetErrorText() == error.GetErrorText();
        }
        FUZZ_CHECK(failedAlike);
    }
    return 0;
}

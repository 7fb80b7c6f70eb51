// The window's and the console's computation: strip, parse, evaluate with a
// few variables, format the result or compose the error message.
#include <cmath>

#include "ExpCompute.h"
#include "ExpException.h"
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string stripped = StripWhitespace(Fuzz::AsText(data, size));
    try {
        const ComputedExpression computed = ComputeExpressionTree(stripped, Variables());
        // The result check lets no NaN or infinity through.
        FUZZ_CHECK(std::isfinite(computed.value));
        FUZZ_CHECK(computed.tree != nullptr);
        const std::string shown = FormatResult(computed.value);
        FUZZ_CHECK(!shown.empty() && shown.size() < 32);
    } catch (const CExpException& error) {
        const std::string message = ComposeErrorMessage(error, stripped);
        FUZZ_CHECK(!message.empty());
    }
    return 0;
}

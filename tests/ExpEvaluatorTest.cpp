#include <gtest/gtest.h>

#include <string>

#include "ExpCompute.h"
#include "ExpEvaluator.h"
#include "ExpMessages.h"
#include "ExpParser.h"
#include "TestSupport.h"

namespace {

using TestSupport::ComputeFailure;
using TestSupport::ErrorOf;

std::string UndefinedText(const std::string& name) {
    return std::string(ExpMessages::kUndefinedBefore) + name + ExpMessages::kUndefinedAfter;
}

struct ValueCase {
    const char* text;
    double value;
};

const ValueCase kValues[] = {
    {"2^3", 8},
    {"2^3^2", 64},
    {"-2^2", -4},
    {"-2*3", -6},
    {"2*(-3)", -6},
    {"0^0", 1},
    {"7-2-1", 4},
    {"8/2/2", 2},
    {"1+2*3", 7},
    {"(1+2)*3", 9},
    {"1e+2", 100},
    {"1e--3", 1000},
    {"1.5E-3", 0.0015},
    {"1e-2^2", 1e-4},
    {".5", 0.5},
    {"007", 7},
    {"1/0.0000000001", 1e10},               // 1e-10 itself is not zero
    {"1/10^400", 0},                        // an infinite divisor is not zero
    {"0.5^1074", 4.9406564584124654e-324},  // a subnormal result passes
    {"1`+2", 1},
    {"abs(1,x)", 1},  // an argument the function does not use counts for nothing
};

TEST(ExpEvaluator, TextsComputeTheirValues) {
    const VarTable none;
    for (const auto& c : kValues) {
        EXPECT_DOUBLE_EQ(ComputeExpression(c.text, none), c.value) << "text: " << c.text;
    }
}

struct FailureCase {
    const char* text;
    int code;
    const char* undefined = nullptr;  // the variable the message names
};

// Evaluation errors carry position 0. With x and y undefined, the operand
// evaluated first decides the error: + - ^ left first, * and / right first.
const FailureCase kFailures[] = {
    {"1/0", EXP_ERR_DIVZERO},
    {"1/(1-1)", EXP_ERR_DIVZERO},
    {"1/1e-11", EXP_ERR_DIVZERO},  // a divisor below 1e-10 counts as zero
    {"1/(0-0.00000000009)", EXP_ERR_DIVZERO},
    {"1/(-8)^0.5", EXP_ERR_DIVZERO},  // a NaN divisor counts as zero
    {"10^400", EXP_ERR_INFINITE},
    {"-10^400", EXP_ERR_INFINITE},
    {"(-8)^0.5", EXP_ERR_NAN},
    {"(-8)^(1/3)", EXP_ERR_NAN},
    {"10^400-10^400", EXP_ERR_NAN},
    {"x", EXP_ERR_UNDEFINED, "x"},
    {"x+y", EXP_ERR_UNDEFINED, "x"},
    {"x-y", EXP_ERR_UNDEFINED, "x"},
    {"x^y", EXP_ERR_UNDEFINED, "x"},
    {"x*y", EXP_ERR_UNDEFINED, "y"},
    {"x/y", EXP_ERR_UNDEFINED, "y"},
    {"x/0", EXP_ERR_DIVZERO},  // the zero test comes before the dividend
    {"x*(1/0)", EXP_ERR_DIVZERO},
    {"(1/0)*x", EXP_ERR_UNDEFINED, "x"},
    {"(1/0)+x", EXP_ERR_DIVZERO},
    {"x^(1/0)", EXP_ERR_UNDEFINED, "x"},
    {"-y*x", EXP_ERR_UNDEFINED, "x"},
    {"sin(x)+y", EXP_ERR_UNDEFINED, "x"},
    // The same order holds along chains and inside calls, whose name and
    // argument count come first, then each argument in turn.
    {"x*y*z", EXP_ERR_UNDEFINED, "z"},
    {"1+2*x*3+y", EXP_ERR_UNDEFINED, "x"},
    {"(x+1)/(y*0)", EXP_ERR_UNDEFINED, "y"},
    {"y/x/0", EXP_ERR_DIVZERO},
    {"log(x,y)", EXP_ERR_UNDEFINED, "x"},
    {"log(10^400,x)", EXP_ERR_INFINITE},
    {"log(x)", EXP_ERR_OPERAND},
};

TEST(ExpEvaluator, FailuresReportTheirCodeAndTheFirstUndefinedName) {
    for (const auto& c : kFailures) {
        const auto failure = ComputeFailure(c.text);
        EXPECT_EQ(failure.code, c.code) << "text: " << c.text;
        EXPECT_EQ(failure.position, 0) << "text: " << c.text;
        if (c.undefined) {
            EXPECT_EQ(failure.text, UndefinedText(c.undefined)) << "text: " << c.text;
        }
    }
}

TEST(ExpEvaluator, VariablesAreFoundByTheirExactName) {
    VarTable vars;
    vars.Insert("x", 2);
    vars.Insert("x1", 3);
    vars.Insert("Y", 5);
    EXPECT_DOUBLE_EQ(ComputeExpression("x*10+x1*Y", vars), 35);
    EXPECT_EQ(ComputeFailure("y", vars).text, UndefinedText("y"));
    EXPECT_EQ(ComputeFailure("x12", vars).text, UndefinedText("x12"));
}

TEST(ExpEvaluator, TopLevelAndArgumentsReadTheirOwnVariables) {
    ExpEvaluator evaluator;
    evaluator.m_variables.Insert("x", 1);
    const auto tree = ExpParser("x*10+abs(x)").Parse();
    // Without a table for the arguments, an argument sees no variable at all.
    EXPECT_DOUBLE_EQ(evaluator.Evaluate(RootNode(*tree).GetLeft()), 10);
    const auto error = ErrorOf([&] { evaluator.Evaluate(*tree); });
    EXPECT_EQ(error ? error->GetCode() : -1, EXP_ERR_UNDEFINED);

    VarTable argumentVars;
    argumentVars.Insert("x", 2);
    evaluator.m_funcs.SetVariables(&argumentVars);
    EXPECT_DOUBLE_EQ(evaluator.Evaluate(*tree), 12);
    // Every level inside an argument, nested calls too, uses them.
    EXPECT_DOUBLE_EQ(evaluator.Evaluate(*ExpParser("abs(abs(x)+x)*x").Parse()), 4);
}

}  // namespace

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "ExpCompute.h"
#include "ExpEvaluator.h"
#include "ExpMessages.h"
#include "ExpParser.h"
#include "TestSupport.h"

namespace {

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
    {"1/0.0000000001", 1e10},  // 1e-10 itself is not zero
    {"1/10^400", 0},           // an infinite divisor is not zero
    {"1`+2", 1},
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
};

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
    {"x", EXP_ERR_UNDEFINED},
};

TEST(ExpEvaluator, FailuresReportTheirCodeAtPositionZero) {
    const VarTable none;
    for (const auto& c : kFailures) {
        const auto error = ErrorOf([&] { ComputeExpression(c.text, none); });
        ASSERT_TRUE(error.has_value()) << "text: " << c.text;
        EXPECT_EQ(error->GetCode(), c.code) << "text: " << c.text;
        EXPECT_EQ(error->GetPosition(), 0) << "text: " << c.text;
    }
}

struct OrderCase {
    const char* text;
    int code;
    const char* undefined;  // the variable the message names
};

// With x and y undefined, the operand evaluated first decides the error.
const OrderCase kOrder[] = {
    {"x+y", EXP_ERR_UNDEFINED, "x"},
    {"x-y", EXP_ERR_UNDEFINED, "x"},
    {"x^y", EXP_ERR_UNDEFINED, "x"},
    {"x*y", EXP_ERR_UNDEFINED, "y"},
    {"x/y", EXP_ERR_UNDEFINED, "y"},
    {"x/0", EXP_ERR_DIVZERO, ""},  // the zero test comes before the dividend
    {"x*(1/0)", EXP_ERR_DIVZERO, ""},
    {"(1/0)*x", EXP_ERR_UNDEFINED, "x"},
    {"(1/0)+x", EXP_ERR_DIVZERO, ""},
    {"x^(1/0)", EXP_ERR_UNDEFINED, "x"},
    {"sin(x)+y", EXP_ERR_UNDEFINED, "x"},
    {"-y*x", EXP_ERR_UNDEFINED, "x"},
};

TEST(ExpEvaluator, OperandOrderDecidesWhichErrorWins) {
    const VarTable none;
    for (const auto& c : kOrder) {
        const auto error = ErrorOf([&] { ComputeExpression(c.text, none); });
        ASSERT_TRUE(error.has_value()) << "text: " << c.text;
        EXPECT_EQ(error->GetCode(), c.code) << "text: " << c.text;
        if (c.code == EXP_ERR_UNDEFINED) {
            EXPECT_EQ(error->GetErrorText(), UndefinedText(c.undefined)) << "text: " << c.text;
        }
    }
}

TEST(ExpEvaluator, VariablesAreFoundByExactName) {
    VarTable vars;
    vars.Insert("x", 2);
    vars.Insert("x1", 3);
    vars.Insert("Y", 5);
    EXPECT_DOUBLE_EQ(ComputeExpression("x*10+x1", vars), 23);
    EXPECT_DOUBLE_EQ(ComputeExpression("sin(x1)*Y", vars), std::sin(3.0) * 5);
    const auto lower = ErrorOf([&] { ComputeExpression("y", vars); });
    ASSERT_TRUE(lower.has_value());
    EXPECT_EQ(lower->GetCode(), EXP_ERR_UNDEFINED);
    EXPECT_EQ(lower->GetErrorText(), UndefinedText("y"));
    const auto prefix = ErrorOf([&] { ComputeExpression("x12", vars); });
    ASSERT_TRUE(prefix.has_value());
    EXPECT_EQ(prefix->GetErrorText(), UndefinedText("x12"));
}

TEST(ExpEvaluator, TopLevelAndArgumentsReadTheirOwnVariables) {
    CExpEvaluator evaluator;
    evaluator.m_variables.Insert("x", 1);
    const auto tree = CExpParser("x*10+abs(x)").Parse();
    // Without a table for the arguments, an argument sees no variable at all.
    EXPECT_DOUBLE_EQ(evaluator.Evaluate(*tree->GetLeft()), 10);
    const auto error = ErrorOf([&] { evaluator.Evaluate(*tree); });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->GetCode(), EXP_ERR_UNDEFINED);

    VarTable argumentVars;
    argumentVars.Insert("x", 2);
    evaluator.m_funcs.SetVariables(&argumentVars);
    EXPECT_DOUBLE_EQ(evaluator.Evaluate(*tree), 12);
    // Inside an argument every level, nested calls included, uses the
    // argument variables.
    EXPECT_DOUBLE_EQ(evaluator.Evaluate(*CExpParser("abs(abs(x)+x)*x").Parse()), 4);
}

TEST(ExpEvaluator, ResultCheckAndZeroTolerance) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    const double kNaN = std::nan("");
    const double kPassing[] = {0.0, -0.0, 1.5, -1e308, std::numeric_limits<double>::denorm_min()};
    for (const double v : kPassing)
        EXPECT_EQ(CExpEvaluator::CheckResult(v), v);
    const std::pair<double, int> kRejected[] = {
        {kNaN, EXP_ERR_NAN}, {kInf, EXP_ERR_INFINITE}, {-kInf, EXP_ERR_INFINITE}};
    for (const auto& [v, code] : kRejected) {
        const auto error = ErrorOf([&] { CExpEvaluator::CheckResult(v); });
        ASSERT_TRUE(error.has_value()) << v;
        EXPECT_EQ(error->GetCode(), code) << v;
    }
    EXPECT_TRUE(CExpEvaluator::IsEqual(1.0, 1.0 + 5e-11));
    EXPECT_TRUE(CExpEvaluator::IsEqual(0.0, -9.9e-11));
    EXPECT_TRUE(CExpEvaluator::IsEqual(kNaN, 0.0));
    EXPECT_FALSE(CExpEvaluator::IsEqual(1e-10, 0.0));
    EXPECT_FALSE(CExpEvaluator::IsEqual(kInf, 0.0));
}

}  // namespace

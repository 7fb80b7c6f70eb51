#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <type_traits>

#include "ExpEvaluator.h"
#include "ExpParser.h"
#include "TestSupport.h"

namespace {

template <class T>
T Eval(const std::string& text, const VarTable& vars = {}) {
    BasicExpEvaluator<T> evaluator;
    evaluator.m_variables.Assign(vars);
    evaluator.m_tree = ExpParser(text).Parse();
    return BasicExpEvaluator<T>::CheckResult(evaluator.Evaluate(*evaluator.m_tree));
}

template <class T>
int ErrorCode(const std::string& text, const VarTable& vars = {}) {
    return TestSupport::ErrorCode([&] { Eval<T>(text, vars); });
}

VarTable OneVariable(const char* name, double value) {
    VarTable vars;
    vars.Insert(name, value);
    return vars;
}

template <class T>
class ExpIntegerValues : public ::testing::Test {};
using IntegerTypes =
    ::testing::Types<int, unsigned, long, unsigned long, long long, unsigned long long>;
TYPED_TEST_SUITE(ExpIntegerValues, IntegerTypes);

TYPED_TEST(ExpIntegerValues, ArithmeticIsExactAndWrapsAround) {
    using T = TypeParam;
    using Limits = std::numeric_limits<T>;
    const std::string max = std::to_string(Limits::max());
    const std::string bits = std::to_string(Limits::digits);
    EXPECT_EQ(Eval<T>("7/2"), T{3});
    EXPECT_EQ(Eval<T>("0/7"), T{0});
    EXPECT_EQ(Eval<T>("1.9*2"), T{2});  // a literal's leading digits
    EXPECT_EQ(Eval<T>("2e3"), T{2000});
    EXPECT_EQ(Eval<T>("2^3^2"), T{64});
    EXPECT_EQ(Eval<T>("0^0"), T{1});
    EXPECT_EQ(Eval<T>(max), Limits::max());
    EXPECT_EQ(Eval<T>(max + "9"), Limits::max());  // an overlong literal saturates
    EXPECT_EQ(Eval<T>(max + "+1"), Limits::min());
    EXPECT_EQ(Eval<T>("0-1"), static_cast<T>(-1));
    EXPECT_EQ(Eval<T>("2^" + bits), Limits::min());  // power wraps like multiplication
    EXPECT_EQ(Eval<T>("3^20"), static_cast<T>(std::uint64_t{3486784401}));
    EXPECT_EQ(Eval<T>("(0-1)^" + max),
              static_cast<T>(-1));  // by squaring: a huge exponent is quick
    EXPECT_EQ(ErrorCode<T>("1/0"), EXP_ERR_DIVZERO);
    EXPECT_EQ(ErrorCode<T>("sin(1)"), EXP_ERR_OPERATOR);
    EXPECT_EQ(ErrorCode<T>("foo(1)"), EXP_ERR_OPERATOR);
    EXPECT_EQ(BasicExpEvaluator<T>::CheckResult(Limits::max()), Limits::max());
    EXPECT_FALSE(BasicExpEvaluator<T>::IsEqual(T{1}, T{0}));
}

TYPED_TEST(ExpIntegerValues, VariablesAreTruncatedAndHeldToTheRange) {
    using T = TypeParam;
    using Limits = std::numeric_limits<T>;
    EXPECT_EQ(Eval<T>("x/2", OneVariable("x", 7.9)), T{3});
    EXPECT_EQ(Eval<T>("x", OneVariable("x", 1e300)), Limits::max());
    EXPECT_EQ(Eval<T>("x", OneVariable("x", -1e300)), Limits::min());
    EXPECT_EQ(Eval<T>("x", OneVariable("x", std::nan(""))), T{0});
    // A divisor truncated to zero is a division by zero.
    EXPECT_EQ(ErrorCode<T>("2/x", OneVariable("x", 0.5)), EXP_ERR_DIVZERO);
    if constexpr (std::is_signed_v<T>) {
        EXPECT_EQ(Eval<T>("x", OneVariable("x", -7.9)), T{-7});
    } else {
        EXPECT_EQ(Eval<T>("x", OneVariable("x", -5)), T{0});
    }
}

TYPED_TEST(ExpIntegerValues, SignedExtremesAndNegativePowersAreSafe) {
    using T = TypeParam;
    if constexpr (std::is_signed_v<T>) {
        const T min = std::numeric_limits<T>::min();
        const std::string minText = "(-" + std::to_string(std::numeric_limits<T>::max()) + "-1)";
        EXPECT_EQ(Eval<T>(minText), min);
        EXPECT_EQ(Eval<T>(minText + "/(-1)"), min);
        EXPECT_EQ(Eval<T>(minText + "*(-1)"), min);
        EXPECT_EQ(Eval<T>("-" + minText), min);
        EXPECT_EQ(Eval<T>(minText + "-1"), std::numeric_limits<T>::max());
        EXPECT_EQ(Eval<T>("-7/2"), T{-3});
        EXPECT_EQ(Eval<T>("2^(-1)"), T{0});  // 1 / a^n truncated
        EXPECT_EQ(Eval<T>("1^(-5)"), T{1});
        EXPECT_EQ(Eval<T>("(-1)^(-3)"), T{-1});
        EXPECT_EQ(Eval<T>("(-1)^(-4)"), T{1});
        EXPECT_EQ(ErrorCode<T>("0^(-1)"), EXP_ERR_DIVZERO);
    } else {
        EXPECT_EQ(Eval<T>("-1"), std::numeric_limits<T>::max());
    }
}

TEST(ExpFloatValues, FloatComputesInFloatAndRejectsLikeDouble) {
    EXPECT_EQ(Eval<float>("1/3"), 1.0f / 3.0f);
    EXPECT_EQ(Eval<float>("0.1"), 0.1f);
    EXPECT_EQ(Eval<float>("abs(0-2.5)"), 2.5f);  // functions exist for float
    EXPECT_EQ(Eval<float>("x*2", OneVariable("x", 0.25)), 0.5f);
    EXPECT_EQ(ErrorCode<float>("1/0.00000000001"), EXP_ERR_DIVZERO);  // same tolerance
    EXPECT_EQ(ErrorCode<float>("10^39"), EXP_ERR_INFINITE);           // beyond float
    EXPECT_EQ(ErrorCode<float>("(-8)^0.5"), EXP_ERR_NAN);
    EXPECT_EQ(ErrorCode<float>("sin(10^39)"), EXP_ERR_INFINITE);
    EXPECT_TRUE(BasicExpEvaluator<float>::IsEqual(1e-11f, 0.0f));
    EXPECT_FALSE(BasicExpEvaluator<float>::IsEqual(1e-9f, 0.0f));
}

TEST(ExpOtherValues, ATypeWithoutALiteralFormatReadsNoLiteral) {
    VarTable vars;
    vars.Insert("x", 1.5);
    vars.Insert("y", 2);
    vars.Insert("z", 0);
    EXPECT_EQ(Eval<long double>("x*y-y^x", vars), 3.0L - std::pow(2.0L, 1.5L));
    EXPECT_EQ(ErrorCode<long double>("1"), EXP_ERR_OPERAND);
    EXPECT_EQ(ErrorCode<long double>("x+1", vars), EXP_ERR_OPERAND);
    EXPECT_EQ(ErrorCode<long double>("x/z", vars), EXP_ERR_DIVZERO);
    EXPECT_EQ(ErrorCode<long double>("sin(x)", vars), EXP_ERR_OPERATOR);
}

}  // namespace

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <ostream>
#include <string>

#include "ExpCompute.h"
#include "ExpEvaluator.h"
#include "ExpParser.h"
#include "TestSupport.h"

namespace {

using TestSupport::kSlowBuild;
using TestSupport::Repeat;

constexpr int kDepth = TestSupport::kDeepNesting;
constexpr int kTerms = TestSupport::kLongSumTerms;
constexpr int kMax = ExpParser::kMaxNesting;

std::string Nest(const std::string& open, const std::string& core, int depth = kDepth) {
    return TestSupport::Nest(open, core, depth);
}

double RepeatedSine(double x, int times) {
    for (int i = 0; i < times; ++i)
        x = std::sin(x);
    return x;
}

struct DeepCase {
    const char* name;
    std::string (*text)();
    double value;
};

const DeepCase kDeepCases[] = {
    {"Parentheses", [] { return Nest("(", "1"); }, 1},
    {"SumOfParentheses", [] { return Nest("1+(", "1"); }, kDepth + 1.0},  // every level counts
    {"EvenSigns", [] { return Nest("-(", "1"); }, 1},
    {"OddSigns", [] { return Nest("-(", "1", kDepth + 1); }, -1},
    {"Powers", [] { return Nest("1^(", "1"); }, 1},
    {"Quotients", [] { return Nest("2/(", "2"); }, 2},  // 2/(2/(...)) alternates 1, 2
    {"Reciprocals", [] { return Nest("1/(", "1"); }, 1},
    {"Calls", [] { return Nest("sin(", "0.5"); }, RepeatedSine(0.5, kDepth)},
    {"SignsInCalls", [] { return Repeat("abs(-(", kDepth) + "1" + std::string(2 * kDepth, ')'); },
     1},
    // Each level's division by zero is dropped as an unused argument.
    {"DroppedDivisions",
     [] { return Repeat("abs(1,1/abs(0,", kDepth) + "1" + std::string(2 * kDepth, ')'); }, 1},
    {"ExponentSigns", [] { return std::string("1e") + std::string(kDepth, '-') + "1"; }, 10},
    {"OddExponentSigns", [] { return std::string("1e") + std::string(kDepth + 1, '-') + "1"; },
     0.1},
    {"LongSum", [] { return std::string("1") + Repeat("+1", kTerms - 1); }, kTerms},
};

// Named in test listings by their name alone.
void PrintTo(const DeepCase& c, std::ostream* os) {
    *os << c.name;
}

class ExpDeepInput : public ::testing::TestWithParam<DeepCase> {};

// Parses, copies, evaluates and destroys on a 256 KiB stack: no pass may
// recurse once per level.
TEST_P(ExpDeepInput, ComputesOnASmallStack) {
    const std::string text = GetParam().text();
    std::optional<double> value;
    std::optional<ExpException> error;
    ASSERT_TRUE(TestSupport::RunOnSmallStack(
        [&] { error = TestSupport::ErrorOf([&] { value = ComputeExpression(text, {}); }); }));
    ASSERT_TRUE(value.has_value()) << "code " << error->GetCode() << " at " << error->GetPosition();
    EXPECT_DOUBLE_EQ(*value, GetParam().value);
}

// A tower of twos passes the largest double after five levels: however
// deep it goes on, the result is reported as out of range.
TEST(ExpDeepInputTower, ADeepTowerOfTwosIsOutOfRange) {
    const std::string text = Nest("2^(", "1");
    std::optional<ExpException> error;
    ASSERT_TRUE(TestSupport::RunOnSmallStack(
        [&] { error = TestSupport::ErrorOf([&] { ComputeExpression(text, {}); }); }));
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->GetCode(), EXP_ERR_INFINITE);
    EXPECT_DOUBLE_EQ(ComputeExpression(Nest("2^(", "1", 4), {}), 65536);
}

INSTANTIATE_TEST_SUITE_P(Shapes, ExpDeepInput, ::testing::ValuesIn(kDeepCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct LimitCase {
    const char* name;
    std::string (*text)();
    int position;  // of the character opening level kMax + 1; -1: parses
};

const LimitCase kLimitCases[] = {
    {"ParenthesesAtTheLimit", [] { return Nest("(", "1", kMax); }, -1},
    {"ParenthesesBeyond", [] { return std::string(kMax + 1, '('); }, kMax},
    {"CallsBeyond", [] { return Repeat("f(", kMax + 1); }, 2 * kMax + 1},
    {"SignsBeyond", [] { return Repeat("-(", kMax / 2) + "-1"; }, kMax},
    {"ExponentSignsAtTheLimit", [] { return Nest("(", "1e--1", kMax - 2); }, -1},
    {"ExponentSignsBeyond", [] { return Nest("(", "1e---1", kMax - 2); }, kMax + 2},
    {"TenMillionParentheses", [] { return std::string(10'000'000, '('); }, kMax},  // fails fast
    {"TenMillionSigns", [] { return Repeat("-(", 5'000'000); }, kMax},
    {"TenMillionCalls", [] { return Repeat("sin(", 10'000'000); }, 4 * kMax + 3},
    {"TenMillionPowers", [] { return Repeat("2^(", 10'000'000); }, 3 * kMax + 2},
    {"TenMillionExponentSigns", [] { return "1e" + std::string(10'000'000, '-') + "1"; }, kMax + 2},
};

void PrintTo(const LimitCase& c, std::ostream* os) {
    *os << c.name;
}

class ExpNestingLimit : public ::testing::TestWithParam<LimitCase> {};

TEST_P(ExpNestingLimit, TheCharacterOpeningOneLevelTooManyIsReported) {
    if (kSlowBuild)
        GTEST_SKIP() << "a million levels take seconds in this build; the optimized build runs it";
    const std::string text = GetParam().text();
    std::optional<ExpException> error;
    ASSERT_TRUE(TestSupport::RunOnSmallStack(
        [&] { error = TestSupport::ErrorOf([&] { ExpParser(text).Parse(); }); }));
    if (GetParam().position < 0) {
        EXPECT_FALSE(error.has_value())
            << "code " << error->GetCode() << " at " << error->GetPosition();
        return;
    }
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->GetCode(), EXP_ERR_EXPRESSION);
    EXPECT_EQ(error->GetPosition(), GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(Limit, ExpNestingLimit, ::testing::ValuesIn(kLimitCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace

// Where an error arises, beside the position its message quotes from: a
// reading error at its position, an evaluation error at the node that
// failed, so that a window can mark it where it stands.
#include <gtest/gtest.h>

#include "ExpCompute.h"
#include "TestSupport.h"

namespace {

struct PlaceCase {
    const char* text;
    int code;
    int position;  // unchanged: evaluation errors quote from the start
    int place;
};

const PlaceCase kPlaces[] = {
    {"1+*2", EXP_ERR_OPERAND, 2, 2},
    {"2*(1+", EXP_ERR_OPERAND, 5, 5},
    {"1+1/0", EXP_ERR_DIVZERO, 0, 4},
    // The divisor with the parentheses and signs that open it.
    {"1+2/(1-1)", EXP_ERR_DIVZERO, 0, 4},
    {"3/(-0)", EXP_ERR_DIVZERO, 0, 2},
    {"1/sin(0)", EXP_ERR_DIVZERO, 0, 2},
    {"1+foo", EXP_ERR_UNDEFINED, 0, 2},
    {"asin(2)", EXP_ERR_NAN, 0, 0},
    {"2*asin(2)", EXP_ERR_NAN, 0, 2},
    // Beyond the finite numbers, where it first went there.
    {"1+10^400", EXP_ERR_INFINITE, 0, 2},
    {"1+nosuch(1)", EXP_ERR_OPERATOR, 0, 2},
    // An argument's own error stands in the argument, not at the call.
    {"1+sin(x)", EXP_ERR_UNDEFINED, 0, 6},
    {"sin(1/0)", EXP_ERR_DIVZERO, 0, 6},
};

TEST(ExpErrorPlace, AnEvaluationErrorIsPlacedAtTheNodeThatFailed) {
    for (const PlaceCase& c : kPlaces) {
        const auto error = TestSupport::ErrorOf([&] { ComputeExpression(c.text, VarTable{}); });
        ASSERT_TRUE(error) << c.text;
        EXPECT_EQ(error->GetCode(), c.code) << c.text;
        EXPECT_EQ(error->GetPosition(), c.position) << c.text;
        EXPECT_EQ(error->GetPlace(), c.place) << c.text;
    }
}

}  // namespace

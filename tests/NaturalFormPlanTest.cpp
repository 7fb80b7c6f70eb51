// A drawing's account is known before it is drawn: the bytes planned are
// the bytes charged once the lines are handed over, so that a drawing just
// within its limit is drawn and one just beyond is refused undrawn.

#include <gtest/gtest.h>

#include <cstddef>
#include <limits>
#include <memory>
#include <string>

#include "ExpParser.h"
#include "NaturalDrawing.h"
#include "NaturalForm.h"
#include "TestSupport.h"

namespace {

using TestSupport::Repeat;

constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max() / 2;
constexpr std::size_t kHeldPerLine = sizeof(std::string);

struct Shape {
    const char* what;
    std::string text;
    int width;
};

// Among them rows whose middle pieces hold nothing: the fractions' rows in
// a sum cut between them, bars and rules that span several pieces.
const Shape kShapes[] = {
    {"a tower of barred powers", Repeat("1^", 40) + "1", 50},
    {"a tower, cut, then another", Repeat("1^", 30) + "1+" + Repeat("1^", 12) + "1", 20},
    {"fractions cut apart", "1/2+3+4/5+6+7/8", 5},
    {"brackets around a cut sum of fractions", "(1/2+3+4/(5+6)+7)", 4},
    {"a call whose arguments are cut", "sin(1/2,3+4/5*6,7^8)", 3},
    {"signs and exponents", "-1-(-2)^(-3)*1e-5/2-(1-2^(1e-5))*3", 2},
    {"one variable", "x", 1},
};

TEST(NaturalFormPlan, ThePlannedBytesAreThoseCharged) {
    for (const Shape& shape : kShapes) {
        for (const std::size_t heldPerLine : {std::size_t{0}, kHeldPerLine}) {
            SCOPED_TRACE(::testing::Message() << shape.what << ", " << heldPerLine);
            const std::unique_ptr<ExpressionTree> tree = ExpParser(shape.text).Parse();
            NaturalDrawing drawing(kNoLimit, heldPerLine);
            ASSERT_TRUE(drawing.Plan(*tree, shape.width));
            std::size_t lines = 0;
            ASSERT_TRUE(drawing.Draw([&lines](std::string_view) { ++lines; }));
            EXPECT_GT(lines, 0u);
            EXPECT_EQ(drawing.PlannedBytes(), drawing.ChargedBytes());
        }
    }
}

TEST(NaturalFormPlan, ADrawingAtItsLimitIsDrawnAndOneByteBeyondIsRefusedUndrawn) {
    for (const Shape& shape : kShapes) {
        SCOPED_TRACE(shape.what);
        const std::unique_ptr<ExpressionTree> tree = ExpParser(shape.text).Parse();
        NaturalDrawing unlimited(kNoLimit, kHeldPerLine);
        ASSERT_TRUE(unlimited.Plan(*tree, shape.width));
        const std::size_t bytes = unlimited.PlannedBytes();

        NaturalDrawing within(bytes, kHeldPerLine);
        ASSERT_TRUE(within.Plan(*tree, shape.width));
        EXPECT_TRUE(within.Draw([](std::string_view) {}));

        NaturalDrawing beyond(bytes - 1, kHeldPerLine);
        EXPECT_FALSE(beyond.Plan(*tree, shape.width));
    }
}

}  // namespace

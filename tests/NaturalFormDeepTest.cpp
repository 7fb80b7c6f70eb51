// Deep and long expressions through the natural form: no pass may recurse
// once per level, time must follow the drawing's size, and a drawing too
// large to show is refused rather than exhausting memory.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ExpParser.h"
#include "NaturalForm.h"
#include "NaturalMeasure.h"
#include "TestSupport.h"

namespace {

using TestSupport::Nest;
using TestSupport::Repeat;

constexpr int kDepth = TestSupport::kDeepNesting;
constexpr int kTerms = TestSupport::kLongSumTerms;
constexpr int kLineWidth = 50;

struct Drawing {
    std::vector<std::string> lines;
    bool tooLarge = false;
};

// Parses and draws on a 256 KiB stack.
Drawing DrawOnSmallStack(const std::string& text, int width = kLineWidth) {
    Drawing drawing;
    const bool ran = TestSupport::RunOnSmallStack([&] {
        NaturalForm naturalForm(ExpParser(text).Parse());
        drawing.lines = naturalForm.Render(width);
        drawing.tooLarge = naturalForm.IsTooLarge();
    });
    EXPECT_TRUE(ran);
    return drawing;
}

// A one-row drawing cut into segments: the pieces, which lost the space
// before each cut operator, put together again.
std::string JoinSegments(const std::vector<std::string>& lines) {
    std::string row;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i % 2 == 1) {
            EXPECT_EQ(lines[i], "\n") << "element " << i;
            row += ' ';
        } else {
            row += lines[i];
        }
    }
    return row;
}

TEST(NaturalFormDeep, NestedParenthesesAreOneRowOfBars) {
    const Drawing drawing = DrawOnSmallStack(Nest("(", "1", kDepth));
    const std::string bars(static_cast<std::size_t>(kDepth), '|');
    EXPECT_EQ(drawing.lines, std::vector<std::string>{bars + "1" + bars});
}

TEST(NaturalFormDeep, NestedCallsKeepTheirNames) {
    const Drawing drawing = DrawOnSmallStack(Nest("sin(", "0.5", kDepth));
    EXPECT_EQ(drawing.lines,
              std::vector<std::string>{Repeat("sin|", kDepth) + "0.5" + std::string(kDepth, '|')});
}

TEST(NaturalFormDeep, NestedSignsAreCutAtTheirMinusSigns) {
    const Drawing drawing = DrawOnSmallStack(Nest("-(", "1", kDepth));
    ASSERT_GT(drawing.lines.size(), 2u);
    EXPECT_EQ(JoinSegments(drawing.lines), Repeat(" - |", kDepth) + "1" + std::string(kDepth, '|'));
}

TEST(NaturalFormDeep, AMillionTermSumIsCutIntoLinesOfTheWidth) {
    const Drawing drawing = DrawOnSmallStack(std::string("1") + Repeat("+1", kTerms - 1));
    EXPECT_EQ(JoinSegments(drawing.lines), std::string("1") + Repeat(" + 1", kTerms - 1));
    for (std::size_t i = 0; i < drawing.lines.size(); i += 2)
        ASSERT_LT(drawing.lines[i].size(), static_cast<std::size_t>(kLineWidth)) << "line " << i;
}

TEST(NaturalFormDeep, ATallFractionBeforeALongSumShowsOnlyInItsOwnSegment) {
    const int depth = 100;
    const Drawing drawing = DrawOnSmallStack(Nest("1/(", "1", depth) + Repeat("+1", kTerms - 1));
    ASSERT_FALSE(drawing.tooLarge);
    // The fraction's segment holds all its rows; every later one a single row.
    const std::size_t firstBreak = 2 * static_cast<std::size_t>(depth) + 1;
    ASSERT_GT(drawing.lines.size(), firstBreak);
    EXPECT_EQ(drawing.lines[firstBreak], "\n");
    for (std::size_t i = firstBreak + 2; i < drawing.lines.size(); i += 2)
        ASSERT_EQ(drawing.lines[i], "\n") << "element " << i;
}

TEST(NaturalFormDeep, ARunOfExponentSignsIsOneRaisedRow) {
    const Drawing drawing = DrawOnSmallStack("1e" + std::string(kDepth, '-') + "1");
    ASSERT_EQ(drawing.lines.size(), 2u);
    const std::string raised = std::string(6, ' ') + Repeat(" - ", kDepth) + "1";
    EXPECT_EQ(drawing.lines[0], raised);
    EXPECT_EQ(drawing.lines[1], std::string("1 * 10") + std::string(raised.size() - 6, ' '));
}

TEST(NaturalFormDeep, ATowerOfPowersRisesOneRowPerLevel) {
    const int depth = 2'000;
    const Drawing drawing = DrawOnSmallStack(Nest("2^(", "2", depth));
    ASSERT_EQ(drawing.lines.size(), static_cast<std::size_t>(depth) + 1);
    for (int row = 0; row <= depth; ++row) {
        std::string expected(static_cast<std::size_t>(depth) + 1, ' ');
        expected[static_cast<std::size_t>(depth - row)] = '2';
        ASSERT_EQ(drawing.lines[static_cast<std::size_t>(row)], expected) << "row " << row;
    }
}

TEST(NaturalFormDeep, NestedFractionsStackTheirRules) {
    const int depth = 500;
    const Drawing drawing = DrawOnSmallStack(Nest("1/(", "1", depth));
    const std::size_t width = 2 * static_cast<std::size_t>(depth) + 1;
    ASSERT_EQ(drawing.lines.size(), width);
    // The rule of the k-th fraction from the outside is 2 * (depth - k) + 3
    // columns, and each numerator 1 stands centred over the rest.
    for (int k = 0; k < depth; ++k) {
        const std::size_t rule = 2 * static_cast<std::size_t>(depth - k) + 1;
        std::string expected(width, ' ');
        expected.replace(static_cast<std::size_t>(k), rule, rule, '-');
        ASSERT_EQ(drawing.lines[2 * static_cast<std::size_t>(k) + 1], expected) << "fraction " << k;
    }
    EXPECT_EQ(drawing.lines.front(),
              std::string(width / 2, ' ') + "1" + std::string(width / 2, ' '));
    EXPECT_EQ(drawing.lines.back(), drawing.lines.front());
}

// These drawings would take gigabytes of text: the tower is as high as it
// is wide, and every rule of the nested fractions is as long as the nesting
// is deep.
TEST(NaturalFormDeep, DrawingsFarTooLargeAreRefusedQuickly) {
    for (const std::string& text : {Nest("2^(", "2", kDepth), Nest("1/(", "1", kDepth)}) {
        SCOPED_TRACE(text.substr(0, 10));
        const Drawing drawing = DrawOnSmallStack(text);
        EXPECT_TRUE(drawing.tooLarge);
        EXPECT_TRUE(drawing.lines.empty());
    }
}

TEST(NaturalFormDeep, ARefusedDrawingLeavesTheObjectUsable) {
    NaturalForm tooLarge(ExpParser(Nest("2^(", "2", kDepth)).Parse());
    EXPECT_TRUE(tooLarge.Render(kLineWidth).empty());
    EXPECT_TRUE(tooLarge.IsTooLarge());
    NaturalForm small(ExpParser("2^3").Parse());
    EXPECT_EQ(small.Render(kLineWidth), (std::vector<std::string>{" 3", "2 "}));
    EXPECT_FALSE(small.IsTooLarge());
}

// The rules and bars counted before drawing are those drawn: the plain
// parentheses a fraction or an exponent leaves out count for nothing.
TEST(NaturalFormDeep, TheLinesCountedBeforeDrawingAreThoseDrawn) {
    for (const char* text : {"(1+2)^2^3", "1/(2+3)", "sin(1/(2*3))", "(2^(1/3))*((4))", "f(x)"}) {
        SCOPED_TRACE(text);
        const std::unique_ptr<ExpressionTree> tree = ExpParser(text).Parse();
        TreeMeasure measure;
        ASSERT_TRUE(measure.Measure(RootNode(*tree), 1000));
        std::int64_t drawn = 0;
        for (const std::string& line : NaturalForm(tree.get()).Render(1000))
            drawn += std::count(line.begin(), line.end(), '|') +
                     std::count(line.begin(), line.end(), '-');
        EXPECT_EQ(measure.LineCells(), drawn);
    }
}

// A plan is charged as it grows, so that an overflow is known before any
// room is made.
TEST(NaturalFormDeep, APlanBeyondTheLimitOverflowsWhilePlanned) {
    NaturalCanvas canvas(4096);
    canvas.BeginPlan();
    canvas.WriteRun(0, 0, 1'000'000, '-');
    EXPECT_TRUE(canvas.Overflowed());
}

}  // namespace

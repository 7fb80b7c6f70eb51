// The graph's sampling, range and ticks, without a window: where the curve
// fails or jumps nothing joins it, and every point is the engine's value.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "AxisTicks.h"
#include "CurveSampler.h"
#include "ExpCompute.h"
#include "ExpParser.h"
#include "PlotFunction.h"
#include "PlotVariable.h"
#include "ValueTable.h"
#include "YRangeFit.h"

namespace {

// x from -10 to 10.
SampleRequest Request(int width) {
    SampleRequest request;
    request.pixelWidth = width;
    request.pixelHeight = 400;
    return request;
}

double ComputeAlone(const std::string& expression, double x) {
    VarTable variables;
    variables.Insert("x", x);
    return ComputeExpression(expression, variables);
}

bool SamePieces(const SampledCurve& a, const SampledCurve& b) {
    return std::ranges::equal(a.pieces, b.pieces, [](const CurvePiece& p, const CurvePiece& q) {
        return std::ranges::equal(
            p, q, [](CurvePoint u, CurvePoint v) { return u.x == v.x && u.y == v.y; });
    });
}

TEST(PlotTest, PiecesEndWhereTheCurveFailsOrJumps) {
    constexpr double kNear = 1e-6;
    struct Case {
        std::string expression;
        std::size_t pieces;
        double start;  // of the first piece
        double end;    // of the last
    };
    const Case cases[] = {
        {"x^2", 1, -10, 10},
        {"3", 1, -10, 10},
        {"1/x", 2, -10, 10},
        {"1/(x-1)", 2, -10, 10},
        // Poles at odd multiples of pi/2: three on either side of zero.
        {"tan(x)", 7, -10, 10},
        {"x^0.5", 1, 0, 10},
        {"ln(x)", 1, 0, 10},
        {"asin(x)", 1, -1, 1},
        {"abs(x)/x", 2, -10, 10},
        {"x/0", 0, 0, 0},
    };
    // At an even width a column's edge falls on zero, where 1/x fails; at an
    // odd one the pole lies between two values.
    for (const int width : {999, 1000}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.expression + " at width " + std::to_string(width));
            PlotFunction function(c.expression, "x", VarTable());
            const SampledCurve curve = SampleCurve(function, Request(width));
            SampleRequest shared = Request(width);
            shared.threads = 2;
            const SampledCurve sharedCurve = SampleCurve(function, shared);
            EXPECT_TRUE(SamePieces(curve, sharedCurve)) << "sampled on two threads";
            EXPECT_EQ(curve.computations, sharedCurve.computations);
            ASSERT_EQ(curve.pieces.size(), c.pieces);
            if (c.pieces == 0)
                continue;
            EXPECT_NEAR(curve.pieces.front().front().x, c.start, kNear);
            EXPECT_NEAR(curve.pieces.back().back().x, c.end, kNear);
            for (const CurvePiece& piece : curve.pieces) {
                for (std::size_t i = 0; i < piece.size(); ++i) {
                    if (i > 0) {
                        ASSERT_LT(piece[i - 1].x, piece[i].x);
                    }
                    ASSERT_EQ(piece[i].y, ComputeAlone(c.expression, piece[i].x))
                        << "at x = " << piece[i].x;
                }
            }
        }
    }
}

TEST(PlotTest, BranchesReachTheirPoleAndAStepIsNotBridged) {
    PlotFunction reciprocal("1/x", "x", VarTable());
    const SampledCurve branches = SampleCurve(reciprocal, Request(999));
    ASSERT_EQ(branches.pieces.size(), 2u);
    EXPECT_LT(branches.pieces[0].back().y, branches.yRange.low);
    EXPECT_GT(branches.pieces[1].front().y, branches.yRange.high);

    PlotFunction sign("abs(x)/x", "x", VarTable());
    const SampledCurve steps = SampleCurve(sign, Request(999));
    ASSERT_EQ(steps.pieces.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        for (const CurvePoint& point : steps.pieces[i])
            EXPECT_EQ(point.y, i == 0 ? -1 : 1) << "at x = " << point.x;
    }
}

TEST(PlotTest, ACurveNoLongerWantedStopsAtOnce) {
    PlotFunction function("x^2", "x", VarTable());
    const std::atomic<bool> cancelled{true};
    for (const int threads : {1, 2}) {
        SampleRequest request = Request(1000);
        request.cancelled = &cancelled;
        request.threads = threads;
        const SampledCurve curve = SampleCurve(function, request);
        EXPECT_FALSE(curve.complete);
        EXPECT_TRUE(curve.pieces.empty());
        EXPECT_EQ(curve.computations, 0u);
    }
}

// The curve's values come from the expression made into a program; the
// engine computing each value alone must agree on every success, to the
// bit, and on every failure, with its error.
TEST(PlotTest, TheProgramFailsWhereTheEngineFailsAndElseGivesItsValue) {
    const std::string expressions[] = {
        "1/x",  // a pole, and divisors within the tolerance of zero
        "x^0.5+ln(x)",
        "asin(x/10)*x^3-x/(x-x)",
        "x/0.00000000001+x/1e-10",  // a number within the tolerance of zero, and one beyond
        "sin(1/x)*2",               // the error inside an argument
        "abs(sin(cos(x*a)))-x",
        "log(x,2)+log(2,x)",
        "sin(x,y)+cos(x,nope(1))",  // arguments not used count for nothing
        "cos(y)+x",
        "1/x^400+(x^400)^0",  // infinite on the way, finite at the end
        "x^400/x^400",
        "atan(x^400)",  // an infinite argument, a finite result
        "-(-x)^3*(+x)/(-(x))",
        "nope(x)",
        "log(x)",
    };
    std::vector<double> xs = {0, 1e-11, -1e-11, 1e-9, 1e300, -1e300};
    for (int i = -80; i <= 80; ++i)
        xs.push_back(i / 8.0);
    VarTable grid;
    grid.Insert("a", 0.25);
    for (const std::string& expression : expressions) {
        PlotFunction function(expression, "x", grid);
        for (const double x : xs) {
            SCOPED_TRACE(expression + " at x = " + std::to_string(x));
            VarTable alone = grid;
            alone.Insert("x", x);
            try {
                const double value = ComputeExpression(expression, alone);
                const std::optional<double> fast = function.ValueAt(x);
                ASSERT_TRUE(fast.has_value());
                EXPECT_EQ(std::bit_cast<std::uint64_t>(*fast), std::bit_cast<std::uint64_t>(value));
            } catch (const ExpException& expected) {
                EXPECT_FALSE(function.ValueAt(x).has_value());
                try {
                    function.Compute(x);
                    ADD_FAILURE() << "no error";
                } catch (const ExpException& error) {
                    EXPECT_EQ(error.GetCode(), expected.GetCode());
                    EXPECT_EQ(error.GetPlace(), expected.GetPlace());
                }
            }
        }
    }
}

TEST(PlotTest, TheOtherVariablesKeepTheirValuesAndTheVariableWins) {
    VarTable grid;
    grid.Insert("a", 2);
    grid.Insert("x", 100);  // chosen as the variable: its grid value is not used
    PlotFunction function("a*x+abs(a)", "x", grid);
    EXPECT_EQ(function.Compute(3), 8);
    EXPECT_EQ(function.Compute(0), 2);

    PlotFunction undefinedOther("x+b", "x", grid);
    EXPECT_FALSE(undefinedOther.ValueAt(1).has_value());
    EXPECT_THROW(PlotFunction("x+", "x", grid), ExpException);
}

TEST(PlotTest, TheVariableIsTheOneUndefinedName) {
    VarTable grid;
    grid.Insert("a", 1);
    struct Case {
        std::string expression;
        std::vector<std::string> undefined;
    };
    const Case cases[] = {
        {"sin(x)/x", {"x"}},
        {"a*t^2+abs(t)", {"t"}},
        {"a+1", {}},
        {"x*y+a", {"x", "y"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        const auto tree = ExpParser(c.expression).Parse();
        EXPECT_EQ(UndefinedNames(*tree, grid), c.undefined);
        const auto chosen = ChooseVariable(*tree, grid);
        EXPECT_EQ(chosen.has_value(), c.undefined.size() == 1);
        if (chosen) {
            EXPECT_EQ(*chosen, c.undefined.front());
        }
    }
}

TEST(PlotTest, TheFittedRangeLetsSpikesLeaveTheFrame) {
    struct Case {
        std::string expression;
        double mostLow;   // the fitted range lies within these...
        double leastLow;  // ...and covers at least these
        double leastHigh;
        double mostHigh;
    };
    const Case cases[] = {
        {"1/(x-1)", -20, -1, 1, 20},
        {"tan(x)", -20, -1, 1, 20},
        // Steep but no spike: shown whole.
        {"x^2", -10, 0, 100, 110},
        {"7", 0, 6, 8, 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression);
        PlotFunction function(c.expression, "x", VarTable());
        const SampledCurve curve = SampleCurve(function, Request(1000));
        EXPECT_GE(curve.yRange.low, c.mostLow);
        EXPECT_LE(curve.yRange.low, c.leastLow);
        EXPECT_GE(curve.yRange.high, c.leastHigh);
        EXPECT_LE(curve.yRange.high, c.mostHigh);
    }
    EXPECT_EQ(FitYRange({}).low, -1);
}

TEST(PlotTest, TickLabelsAreRoundAndNeverOverlap) {
    constexpr double kCharWidth = 7;
    constexpr double kGap = 6;
    const LabelExtent width = [](std::string_view label) { return kCharWidth * label.size(); };
    struct Case {
        double low;
        double high;
        double length;
        std::vector<std::string> someLabels;
    };
    const Case cases[] = {
        {0, 1, 100, {"0", "0.5", "1.0"}},
        {-10, 10, 800, {"-10", "-9", "0", "10"}},
        {-10, 10, 120, {"-10", "0", "10"}},
        {0.1, 0.3, 400, {"0.10", "0.30"}},
        {-3e9, 2e9, 500, {"-2e+09", "0", "2e+09"}},
        {1e-7, 9e-7, 300, {"2e-07", "8e-07"}},
        {1e8, 1e8 + 50, 600, {"100000000", "100000050"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.low) + ".." + std::to_string(c.high));
        const std::vector<AxisTick> ticks = AxisTicks(c.low, c.high, c.length, width, kGap);
        ASSERT_GE(ticks.size(), 2u);
        const double step = ticks[1].value - ticks[0].value;
        const double mantissa = step / std::pow(10, std::floor(std::log10(step)));
        EXPECT_TRUE(std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 ||
                    std::abs(mantissa - 5) < 1e-9)
            << step;
        for (std::size_t i = 1; i < ticks.size(); ++i) {
            EXPECT_NEAR(ticks[i].value - ticks[i - 1].value, step, step * 1e-9);
            EXPECT_GE(ticks[i].position - ticks[i - 1].position,
                      width(ticks[i].label) / 2 + width(ticks[i - 1].label) / 2 + kGap);
        }
        for (const std::string& label : c.someLabels) {
            EXPECT_TRUE(std::any_of(ticks.begin(), ticks.end(), [&](const AxisTick& tick) {
                return tick.label == label;
            })) << label;
        }
    }
    EXPECT_TRUE(AxisTicks(1, 1, 100, width, kGap).empty());
}

TEST(PlotTest, TheTableGivesTheValueOrTheErrorAtEachTick) {
    PlotFunction function("1/x", "x", VarTable());
    const std::vector<AxisTick> ticks = {{-2, 0, "-2"}, {0, 50, "0"}, {4, 100, "4"}};
    const std::vector<ValueRow> rows = TableOfValues(function, ticks);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].yText, "-0.5");
    EXPECT_EQ(rows[2].yText, "0.25");
    EXPECT_FALSE(rows[1].y.has_value());
    ASSERT_TRUE(rows[1].error.has_value());
    EXPECT_EQ(rows[1].error->GetCode(), EXP_ERR_DIVZERO);
}

}  // namespace

#pragma once

#include <atomic>
#include <cstddef>
#include <optional>
#include <vector>

#include "YRangeFit.h"

class PlotFunction;

struct CurvePoint {
    double x;
    double y;
};

// One stretch of the curve to draw as a line through its points. Where the
// computation fails, or the curve jumps, one piece ends and the next begins:
// nothing joins them. A piece of one point is a value between failures, to
// be drawn as a dot.
using CurvePiece = std::vector<CurvePoint>;

struct SampleRequest {
    double xLow = -10;
    double xHigh = 10;
    int pixelWidth = 1;
    // Decides how finely a turn is followed; 0 means as many as pixelWidth.
    int pixelHeight = 0;
    // The y range shown; none fits it to the curve (FitYRange).
    std::optional<ValueRange> yRange;
    // Set from another thread when the curve is no longer wanted: sampling
    // stops at the next pixel column and the result is incomplete.
    const std::atomic<bool>* cancelled = nullptr;
    // The threads that compute the value at each column's edge, most of the
    // work for a long expression. The curve is the same for any number.
    int threads = 1;
};

struct SampledCurve {
    std::vector<CurvePiece> pieces;
    ValueRange yRange;
    std::size_t computations = 0;
    bool complete = true;
};

// The curve of `function` over xLow..xHigh: a value at each pixel column's
// edge, more where the curve turns within a column, and the ends of every
// stretch where the computation succeeds found to well below a pixel. A
// jump between two neighbours (a pole, a step) is told from a steep rise by
// halving the interval around it: a continuous curve's change shrinks with
// the interval, a jump's does not. The work beyond one value a column is
// bounded, so that no curve takes more than a few times as long as a
// straight line.
SampledCurve SampleCurve(PlotFunction& function, const SampleRequest& request);

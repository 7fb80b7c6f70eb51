#include "CurveSampler.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <system_error>
#include <thread>
#include <utility>

#include "PlotFunction.h"

namespace {

// A column's interval is halved at most this often to follow a turn...
constexpr int kMostHalvings = 5;
// ...wherever the curve strays more than this many pixels from a straight
// line between two values.
constexpr double kFlatnessPixels = 0.5;
// A change of more pixels than this between neighbours is looked at as a
// possible jump.
constexpr double kJumpPixels = 3;
// Halvings to find where a computation starts or stops failing, and to tell
// a jump from a steep rise: both stop sooner at neighbouring doubles.
constexpr int kBorderSteps = 40;
constexpr int kJumpSteps = 60;
// Computations allowed beyond one a column, per column.
constexpr std::size_t kExtraPerColumn = 24;
// Wider than any screen: bounds the work one request may ask for.
constexpr int kMostColumns = 1 << 16;
// The columns a thread takes at a time when several share them: few
// enough that one that fails at once (x^0.5 left of zero) leaves no thread
// idle for long.
constexpr std::size_t kColumnsTaken = 16;
// More threads than cores only wait for each other.
constexpr int kMostThreads = 16;

struct Sample {
    double x;
    std::optional<double> y;
};

class Sampler {
  public:
    Sampler(PlotFunction& function, const SampleRequest& request)
        : m_function(function), m_request(request) {}

    SampledCurve Run() {
        const int columns = std::clamp(m_request.pixelWidth, 1, kMostColumns);
        if (!std::isfinite(m_request.xLow) || !std::isfinite(m_request.xHigh) ||
            !(m_request.xHigh > m_request.xLow)) {
            m_result.yRange = m_request.yRange.value_or(FitYRange({}));
            return std::move(m_result);
        }
        std::vector<Sample> samples(static_cast<std::size_t>(columns) + 1);
        for (int i = 0; i <= columns; ++i)
            samples[i].x =
                std::lerp(m_request.xLow, m_request.xHigh, static_cast<double>(i) / columns);
        ComputeEdges(samples);
        if (Cancelled())
            return std::move(m_result);
        m_result.computations = samples.size();
        m_budget = kExtraPerColumn * samples.size();
        m_result.yRange = m_request.yRange ? *m_request.yRange : FitRange(samples);
        const int height = m_request.pixelHeight > 0 ? m_request.pixelHeight : columns;
        m_pixel = (m_result.yRange.high - m_result.yRange.low) / height;
        if (!(m_pixel > 0) || !std::isfinite(m_pixel))
            m_pixel = 1;

        if (samples[0].y)
            Emit({samples[0].x, *samples[0].y});
        for (std::size_t i = 0; i + 1 < samples.size(); ++i) {
            if (Cancelled())
                return std::move(m_result);
            const Sample& a = samples[i];
            const Sample& b = samples[i + 1];
            if (a.y && b.y)
                Interval({a.x, *a.y}, {b.x, *b.y}, TurnsFast(samples, i) ? 0 : kMostHalvings);
            else if (a.y)
                FailsAfter({a.x, *a.y}, b.x);
            else if (b.y)
                FailsBefore(a.x, {b.x, *b.y});
        }
        EndPiece();
        return std::move(m_result);
    }

  private:
    bool Cancelled() {
        if (m_request.cancelled && m_request.cancelled->load(std::memory_order_relaxed)) {
            m_result.complete = false;
            EndPiece();
            return true;
        }
        return false;
    }

    // The value at each column's edge, on as many threads as asked; stops
    // early once cancelled.
    void ComputeEdges(std::vector<Sample>& samples) {
        const PlotProgram& program = m_function.Program();
        const std::atomic<bool>* cancelled = m_request.cancelled;
        std::atomic<std::size_t> next{0};
        const auto work = [&samples, &program, cancelled, &next](std::vector<double>& stack) {
            for (;;) {
                const std::size_t first = next.fetch_add(kColumnsTaken, std::memory_order_relaxed);
                if (first >= samples.size())
                    return;
                const std::size_t end = std::min(first + kColumnsTaken, samples.size());
                for (std::size_t i = first; i < end; ++i) {
                    if (cancelled && cancelled->load(std::memory_order_relaxed))
                        return;
                    samples[i].y = program.ValueAt(samples[i].x, stack);
                }
            }
        };
        // Each helper's stack is made before it starts: a helper has no
        // one to tell that memory ran out.
        const int helperCount = std::clamp(m_request.threads, 1, kMostThreads) - 1;
        std::vector<std::vector<double>> stacks(helperCount + 1);
        for (std::vector<double>& stack : stacks)
            stack.resize(program.StackSize());
        std::vector<std::jthread> helpers;
        helpers.reserve(helperCount);
        for (int i = 1; i <= helperCount; ++i) {
            try {
                helpers.emplace_back(work, std::ref(stacks[i]));
            } catch (const std::system_error&) {
                break;  // no thread to be had: fewer do the work
            }
        }
        work(stacks[0]);
    }

    static ValueRange FitRange(const std::vector<Sample>& samples) {
        std::vector<double> values;
        values.reserve(samples.size());
        for (const Sample& sample : samples) {
            if (sample.y)
                values.push_back(*sample.y);
        }
        return FitYRange(values);
    }

    double Pixels(double dy) const { return std::abs(dy) / m_pixel; }

    // Whether the values around interval i bend by more than the flatness
    // allows: a second difference is eight times the stray of a midpoint.
    bool TurnsFast(const std::vector<Sample>& samples, std::size_t i) const {
        const auto bend = [&](std::size_t middle) {
            if (middle == 0 || middle + 1 >= samples.size())
                return 0.0;
            const auto& before = samples[middle - 1].y;
            const auto& at = samples[middle].y;
            const auto& after = samples[middle + 1].y;
            if (!before || !at || !after)
                return 0.0;
            return Pixels(*before - 2 * *at + *after) / 8;
        };
        return std::max(bend(i), bend(i + 1)) > kFlatnessPixels;
    }

    std::optional<double> Compute(double x) {
        if (m_budget == 0)
            return std::nullopt;
        --m_budget;
        ++m_result.computations;
        return m_function.ValueAt(x);
    }
    bool CanCompute() const { return m_budget > 0; }

    // Both above the frame or both below: no line between them can show.
    bool OutOfSight(double a, double b) const {
        const ValueRange& range = m_result.yRange;
        return (a > range.high && b > range.high) || (a < range.low && b < range.low);
    }

    // From `a`, already drawn, to `b`, both computed.
    void Interval(CurvePoint a, CurvePoint b, int halvings) {
        if (halvings >= kMostHalvings || OutOfSight(a.y, b.y) || !CanCompute())
            return Segment(a, b);
        const double x = a.x + (b.x - a.x) / 2;
        if (x <= a.x || x >= b.x)
            return Segment(a, b);
        const std::optional<double> y = Compute(x);
        if (!y) {
            FailsAfter(a, x);
            return FailsBefore(x, b);
        }
        const CurvePoint middle{x, *y};
        if (Pixels(*y - (a.y / 2 + b.y / 2)) > kFlatnessPixels) {
            Interval(a, middle, halvings + 1);
            return Interval(middle, b, halvings + 1);
        }
        Segment(a, middle);
        Segment(middle, b);
    }

    // A straight line from `a` to `b`, unless the curve jumps between them:
    // then the end of one piece and the start of the next, each as near the
    // jump as halving finds.
    void Segment(CurvePoint a, CurvePoint b) {
        if (Pixels(b.y - a.y) <= kJumpPixels || OutOfSight(a.y, b.y))
            return Emit(b);
        std::vector<CurvePoint> right;
        bool jumps = true;
        for (int step = 0; step < kJumpSteps; ++step) {
            if (Pixels(b.y - a.y) <= kJumpPixels) {
                jumps = false;
                break;
            }
            const double x = a.x + (b.x - a.x) / 2;
            if (x <= a.x || x >= b.x || !CanCompute())
                break;
            const std::optional<double> y = Compute(x);
            if (!y)
                break;
            // Follow the half that changes more: a jump stays in it.
            if (std::abs(*y - a.y) > std::abs(b.y - *y)) {
                right.push_back(b);
                b = {x, *y};
            } else {
                a = {x, *y};
                Emit(a);
            }
        }
        if (jumps)
            EndPiece();
        Emit(b);
        for (auto point = right.rbegin(); point != right.rend(); ++point)
            Emit(*point);
    }

    // The computation succeeds at `a`, already drawn, and fails at
    // `failing`: the piece goes on to the last value found before it.
    void FailsAfter(CurvePoint a, double failing) {
        for (int step = 0; step < kBorderSteps; ++step) {
            const double x = a.x + (failing - a.x) / 2;
            if (x <= a.x || x >= failing || !CanCompute())
                break;
            if (const std::optional<double> y = Compute(x)) {
                Segment(a, {x, *y});
                a = {x, *y};
            } else {
                failing = x;
            }
        }
        EndPiece();
    }

    // The computation fails at `failing` and succeeds at `b`: a piece
    // starts at the first value found after it.
    void FailsBefore(double failing, CurvePoint b) {
        std::vector<CurvePoint> found{b};
        for (int step = 0; step < kBorderSteps; ++step) {
            const double x = failing + (b.x - failing) / 2;
            if (x <= failing || x >= b.x || !CanCompute())
                break;
            if (const std::optional<double> y = Compute(x)) {
                b = {x, *y};
                found.push_back(b);
            } else {
                failing = x;
            }
        }
        EndPiece();
        Emit(found.back());
        for (std::size_t i = found.size() - 1; i-- > 0;)
            Segment(found[i + 1], found[i]);
    }

    void Emit(CurvePoint point) { m_piece.push_back(point); }

    void EndPiece() {
        if (!m_piece.empty())
            m_result.pieces.push_back(std::exchange(m_piece, {}));
    }

    PlotFunction& m_function;
    const SampleRequest& m_request;
    SampledCurve m_result;
    CurvePiece m_piece;
    double m_pixel = 1;  // y units a pixel
    std::size_t m_budget = 0;
};

}  // namespace

SampledCurve SampleCurve(PlotFunction& function, const SampleRequest& request) {
    return Sampler(function, request).Run();
}

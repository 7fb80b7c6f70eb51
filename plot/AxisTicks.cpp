#include "AxisTicks.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace {

constexpr std::array<int, 3> kMantissas = {1, 2, 5};
// Beyond these powers of ten a step's labels read better as 1.5e+08.
constexpr int kLowestFixedExponent = -5;
constexpr int kHighestFixedExponent = 6;
// As many as tell every double apart.
constexpr int kMostDigits = 16;
constexpr double kBoundSlack = 1e-9;

struct Step {
    int mantissa;
    int exponent;
    double Size() const { return mantissa * std::pow(10.0, exponent); }
};

// The k-th multiple of the step, the double nearest to the decimal it
// stands for (0.1 * 3 would be 0.30000000000000004).
double Multiple(double k, Step step) {
    if (step.exponent < 0)
        return k * step.mantissa / std::pow(10.0, -step.exponent);
    return k * step.Size();
}

Step NextStep(Step step) {
    if (step.mantissa == 5)
        return {1, step.exponent + 1};
    return {step.mantissa == 1 ? 2 : 5, step.exponent};
}

std::vector<AxisTick> TicksOf(Step step, double low, double high, double length) {
    std::vector<AxisTick> ticks;
    const double size = step.Size();
    const double scale = length / (high - low);
    // A bound that is a multiple of the step gets its tick though the
    // quotient comes out a hair beyond the whole number (0.1 / 0.02).
    const double first = std::ceil(low / size - kBoundSlack);
    // Counted, not compared: far from zero, ++k may not change k.
    const double count = std::min(std::floor(high / size + kBoundSlack) - first, length + 1);
    for (double i = 0; i <= count; ++i) {
        double value = Multiple(first + i, step);
        if (value == 0)
            value = 0;  // no "-0"
        if (!ticks.empty() && value <= ticks.back().value)
            continue;  // steps below the values' precision
        ticks.push_back({value, (value - low) * scale, FormatTickLabel(value, step.exponent)});
    }
    return ticks;
}

bool LabelsApart(const std::vector<AxisTick>& ticks, const LabelExtent& labelExtent, double gap) {
    double previousHalf = 0;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const double half = labelExtent(ticks[i].label) / 2;
        if (i > 0 && ticks[i].position - ticks[i - 1].position < previousHalf + half + gap)
            return false;
        previousHalf = half;
    }
    return true;
}

}  // namespace

std::vector<AxisTick> AxisTicks(double low, double high, double length,
                                const LabelExtent& labelExtent, double gap) {
    if (!std::isfinite(low) || !std::isfinite(high) || !(high > low) || !(length > 0) ||
        !std::isfinite(high - low))
        return {};
    // No step below one a pixel: start there and grow until the labels fit.
    const double smallest = (high - low) / length;
    Step step{1, static_cast<int>(std::floor(std::log10(smallest)))};
    while (step.Size() < smallest)
        step = NextStep(step);
    for (;; step = NextStep(step)) {
        std::vector<AxisTick> ticks = TicksOf(step, low, high, length);
        if (ticks.size() <= 1 || LabelsApart(ticks, labelExtent, gap))
            return ticks;
    }
}

std::string FormatTickLabel(double value, int stepExponent) {
    char buffer[64];
    std::to_chars_result printed{};
    if (value == 0) {
        return "0";
    } else if (stepExponent < kLowestFixedExponent || stepExponent > kHighestFixedExponent) {
        // Digits down to the step's: 1.25e+08 for a step of 5e+06.
        const int valueExponent = static_cast<int>(std::floor(std::log10(std::abs(value))));
        const int precision = std::clamp(valueExponent - stepExponent, 0, kMostDigits);
        printed = std::to_chars(buffer, buffer + sizeof buffer, value,
                                std::chars_format::scientific, precision);
    } else {
        printed = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed,
                                std::max(0, -stepExponent));
    }
    return std::string(buffer, printed.ptr);
}

#include "YRangeFit.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The bulk: what lies between these quantiles...
constexpr double kLowQuantile = 0.05;
constexpr double kHighQuantile = 0.95;
// ...and as far beyond them as this share of their distance: a curve whose
// extremes are not spikes (x^2, whose top tenth is steep) is still shown
// whole.
constexpr double kReach = 0.5;
constexpr double kMargin = 0.05;

double Quantile(const std::vector<double>& sorted, double q) {
    const double at = q * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(at);
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    return std::lerp(sorted[below], sorted[above], at - static_cast<double>(below));
}

}  // namespace

ValueRange FitYRange(std::span<const double> values) {
    std::vector<double> sorted;
    sorted.reserve(values.size());
    for (const double value : values) {
        if (std::isfinite(value))
            sorted.push_back(value);
    }
    if (sorted.empty())
        return {-1, 1};
    std::sort(sorted.begin(), sorted.end());
    const double low = Quantile(sorted, kLowQuantile);
    const double high = Quantile(sorted, kHighQuantile);
    const double reach = (high - low) * kReach;
    double fittedLow = std::max(sorted.front(), low - reach);
    double fittedHigh = std::min(sorted.back(), high + reach);
    double span = fittedHigh - fittedLow;
    if (!(span > 0) || !std::isfinite(span)) {
        // A constant: a range of its own size around it, or 1 around zero.
        const double middle = fittedLow / 2 + fittedHigh / 2;
        const double half = std::abs(middle) > 0 ? std::abs(middle) / 2 : 1;
        return {middle - half, middle + half};
    }
    fittedLow -= span * kMargin;
    fittedHigh += span * kMargin;
    return {fittedLow, fittedHigh};
}

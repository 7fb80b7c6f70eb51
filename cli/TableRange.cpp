#include "TableRange.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "ConsoleText.h"
#include "DecimalText.h"

namespace {

// Whole numbers up to this are exact in a double.
constexpr double kExactWhole = 9007199254740992.0;  // 2^53
constexpr int kMostDecimals = 15;
// How far short of a whole number of steps TO may fall, relative to their
// count, and still count as reached: 0:1:0.1 ends at 1 though ten 0.1 make 0.9999999999999999.
constexpr double kReachTolerance = 1e-9;

constexpr double kPowersOfTen[kMostDecimals + 1] = {1,   1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                    1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// `value` times 10^decimals when that is a whole number an int64 holds.
std::optional<double> Scaled(double value, int decimals) {
    const double scaled = std::nearbyint(value * kPowersOfTen[decimals]);
    if (std::abs(scaled) >= kExactWhole || scaled / kPowersOfTen[decimals] != value)
        return std::nullopt;
    return scaled;
}

std::string Quoted(std::string_view text) {
    return "'" + QuotedText(text) + "'";
}

}  // namespace

std::variant<TableRange, std::string> TableRange::Read(std::string_view text) {
    const std::string form = "expected NAME=FROM:TO:STEP, not " + Quoted(text);
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos || equals == 0)
        return form;
    std::string_view numbers[3];
    std::string_view rest = text.substr(equals + 1);
    for (int i = 0; i < 3; ++i) {
        const std::size_t colon = rest.find(':');
        if ((colon == std::string_view::npos) != (i == 2))
            return form;
        numbers[i] = rest.substr(0, colon);
        rest = i == 2 ? std::string_view() : rest.substr(colon + 1);
    }
    double values[3];
    for (int i = 0; i < 3; ++i) {
        const std::optional<double> value = ReadVariableValue(numbers[i]);
        if (!value)
            return Quoted(numbers[i]) + " in " + Quoted(text) + " is not a number";
        values[i] = *value;
    }
    TableRange range;
    range.m_name = text.substr(0, equals);
    range.m_from = values[0];
    const double to = values[1];
    range.m_step = values[2];
    if (range.m_step == 0)
        return "the step of " + Quoted(text) + " is 0";
    const double steps = (to - range.m_from) / range.m_step;
    if (steps < 0)
        return "the step of " + Quoted(text) + " leads away from its end";
    const double reached = steps + kReachTolerance * std::max(1.0, steps);
    // Also refuses an infinite count, which a huge range gives.
    if (!(reached < static_cast<double>(kMostLines)))
        return Quoted(text) + " has more than " + std::to_string(kMostLines) + " values";
    range.m_count = static_cast<std::int64_t>(std::floor(reached)) + 1;

    for (int decimals = 0; decimals <= kMostDecimals; ++decimals) {
        const auto from = Scaled(range.m_from, decimals);
        const auto step = Scaled(range.m_step, decimals);
        if (!from || !step)
            continue;
        if (std::abs(*from) + std::abs(*step) * static_cast<double>(range.m_count) < kExactWhole) {
            range.m_decimal = true;
            range.m_decimals = decimals;
            range.m_scaledFrom = *from;
            range.m_scaledStep = *step;
        }
        break;
    }
    return range;
}

double TableRange::At(std::int64_t i) const {
    const double k = static_cast<double>(i);
    const double value = m_decimal ? (m_scaledFrom + k * m_scaledStep) / kPowersOfTen[m_decimals]
                                   : m_from + k * m_step;
    // A table that starts at -0 or passes zero shows 0.
    return value == 0 ? 0 : value;
}

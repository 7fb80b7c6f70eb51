#pragma once

#include <span>

struct ValueRange {
    double low = 0;
    double high = 0;
};

// The range of y to show for these values: the bulk of them, with a margin.
// The few values far beyond the bulk, as near a pole, leave the frame
// rather than flattening everything else. A single value, or equal ones,
// get a range around them; no value at all gives -1..1.
ValueRange FitYRange(std::span<const double> values);

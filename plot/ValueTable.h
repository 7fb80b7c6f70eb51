#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "AxisTicks.h"
#include "ExpException.h"

class PlotFunction;

// One row of the table of values: x as its tick shows it, and either the
// value as the result box shows it or the error that leaves a gap there.
struct ValueRow {
    double x;
    std::string xText;
    std::optional<double> y;
    std::string yText;                  // empty for an error
    std::optional<ExpException> error;  // each front end words it itself
};

// The table of values at the x axis's ticks.
std::vector<ValueRow> TableOfValues(PlotFunction& function, std::span<const AxisTick> ticks);

#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct AxisTick {
    double value;
    double position;  // pixels from the axis's low end
    std::string label;
};

// How long a label is along the axis, in pixels: its width on a horizontal
// axis, the font's height on a vertical one.
using LabelExtent = std::function<double(std::string_view label)>;

// The ticks of an axis that shows low..high over `length` pixels: the
// multiples of the smallest round step (1, 2 or 5 times a power of ten)
// whose labels, centred on their ticks, stay at least `gap` pixels apart.
// None for an empty or non-finite range.
std::vector<AxisTick> AxisTicks(double low, double high, double length,
                                const LabelExtent& labelExtent, double gap);

// A tick's label: as many decimals as the step needs and no more, in
// scientific form for very large or very small steps; the same in every
// locale ('.' and '-').
std::string FormatTickLabel(double value, int stepExponent);

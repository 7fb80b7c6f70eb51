#pragma once

#include <span>
#include <string_view>

// A function's formula over the values of the arguments it uses, each
// already evaluated and checked.
using FunctionFormula = double (*)(std::span<const double> args);

struct BuiltinFunction {
    std::string_view name;
    int argCount;
    FunctionFormula formula;
};

// The built-in functions, aliases included, in their fixed order: a name is
// looked up from the first.
std::span<const BuiltinFunction> BuiltinFunctions();

// Degrees to degree-minute-second written as d.mmss, and back.
double DegreesToDms(double degrees);
double DmsToDegrees(double dms);

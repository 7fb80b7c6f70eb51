#include "BuiltinFunctions.h"

#include <array>
#include <charconv>
#include <cmath>
#include <numbers>

namespace {

using Args = std::span<const double>;

double Dtor(Args v) {
    return (v[0] * std::numbers::pi) * 0.005555555555555556;
}
double Rtod(Args v) {
    return (v[0] * 180.0) / std::numbers::pi;
}
double Dtodms(Args v) {
    return DegreesToDms(v[0]);
}
double Dmstod(Args v) {
    return DmsToDegrees(v[0]);
}
// log(a, b) is the logarithm of b to the base a.
double Log(Args v) {
    return std::log(v[1]) / std::log(v[0]);
}
// ln and lg leave a non-positive argument to the library as log does: the
// result is checked, so ln(-1) fails as not a number and lg(0) as infinite.
double Ln(Args v) {
    return std::log(v[0]);
}
double Lg(Args v) {
    return std::log10(v[0]);
}
double Sin(Args v) {
    return std::sin(v[0]);
}
double Cos(Args v) {
    return std::cos(v[0]);
}
double Tan(Args v) {
    return std::tan(v[0]);
}
double Cot(Args v) {
    return 1.0 / std::tan(v[0]);
}
double Asin(Args v) {
    return std::asin(v[0]);
}
double Acos(Args v) {
    return std::acos(v[0]);
}
double Atan(Args v) {
    return std::atan(v[0]);
}
double Abs(Args v) {
    return std::fabs(v[0]);
}

constexpr std::array kBuiltins = {
    BuiltinFunction{"dtor", 1, Dtor},
    BuiltinFunction{"rtod", 1, Rtod},
    BuiltinFunction{"dtodms", 1, Dtodms},
    BuiltinFunction{"dmstod", 1, Dmstod},
    BuiltinFunction{"log", 2, Log},
    BuiltinFunction{"sin", 1, Sin},
    BuiltinFunction{"cos", 1, Cos},
    BuiltinFunction{"tan", 1, Tan},
    BuiltinFunction{"tg", 1, Tan},
    BuiltinFunction{"ctg", 1, Cot},
    BuiltinFunction{"cot", 1, Cot},
    BuiltinFunction{"asin", 1, Asin},
    BuiltinFunction{"arcsin", 1, Asin},
    BuiltinFunction{"acos", 1, Acos},
    BuiltinFunction{"arccos", 1, Acos},
    BuiltinFunction{"atan", 1, Atan},
    BuiltinFunction{"arctg", 1, Atan},
    BuiltinFunction{"abs", 1, Abs},
    // The two logarithms the help window lists, after the older entries.
    BuiltinFunction{"ln", 1, Ln},
    BuiltinFunction{"lg", 1, Lg},
};

}  // namespace

std::span<const BuiltinFunction> BuiltinFunctions() {
    return kBuiltins;
}

// The degree part is floor(v) also for negative v, and a fraction that rounds
// to 3600 seconds shows as 60 minutes: nothing is carried.
double DegreesToDms(double v) {
    const double degrees = std::floor(v);
    const double seconds = std::floor((v - std::floor(v)) * 3600.0 + 0.5);
    const double minutes = std::floor(seconds * 0.016666666666666666);
    return ((minutes * 0.01) + (std::fmod(seconds, 60.0) * 0.0001)) + degrees;
}

// The fraction is printed with four decimals and its digits are read back as
// mmss; a fraction that rounds to 1.0000 contributes nothing, and minutes or
// seconds of 60 and more are taken as they stand.
double DmsToDegrees(double v) {
    const double degrees = std::floor(v);
    const double fraction = v - degrees;
    char text[32];
    const auto printed =
        std::to_chars(text, text + sizeof text, fraction, std::chars_format::fixed, 4);
    unsigned mmss = 0;
    if (printed.ec == std::errc() && printed.ptr - text == 6)
        std::from_chars(text + 2, text + 6, mmss);
    const unsigned mm = mmss / 100;
    const unsigned ss = mmss % 100;
    return (degrees + mm * 0.016666666666666666) + ss * 0.0002777777777777778;
}

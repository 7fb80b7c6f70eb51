#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "FifteenDigits.h"

namespace {

std::string ToChars(double value) {
    char text[32];
    const auto printed =
        std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
    return {text, static_cast<std::size_t>(printed.ptr - text)};
}

// The quick way writes what to_chars writes, or leaves the value to it.
// Returns whether it wrote.
bool WritesAsToChars(double value) {
    char text[32];
    const char* end = WriteFifteenDigits(text, value);
    if (end == nullptr)
        return false;
    EXPECT_EQ(std::string(text, static_cast<std::size_t>(end - text)), ToChars(value))
        << std::bit_cast<std::uint64_t>(value);
    return true;
}

TEST(FifteenDigits, WritesWhatToCharsWritesAroundEveryBoundary) {
    std::vector<double> values = {0.0, -0.0, 1, -1, 0.1, 0.5, 2.5, 1e-13, 1e14, 123456789012345,
                                  // Halfway between two 15-digit numbers: to even.
                                  100000000000002.5, 100000000000003.5, 12345678901234.25,
                                  12345678901234.75, 0.5000000000000025};
    for (int exponent = -14; exponent <= 15; ++exponent) {
        const double power = std::pow(10.0, exponent);
        for (const double near : {power, std::nextafter(power, 0.0), std::nextafter(power, 1e300),
                                  power * 9.999999999999995, power * 9.9999999999999})
            values.push_back(near);
    }
    for (const double value : values) {
        WritesAsToChars(value);
        WritesAsToChars(-value);
    }
    // The range the quick way promises.
    for (const double value : {0.0, 1e-13, 1e-5, 0.0001, 1.0, 999999999999999.0})
        EXPECT_TRUE(WritesAsToChars(value)) << value;
    for (const double value : {9e-14, 1e15, 5e-324, HUGE_VAL, std::nan("")})
        EXPECT_FALSE(WritesAsToChars(value)) << value;
}

TEST(FifteenDigits, WritesWhatToCharsWritesForRandomValues) {
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> decade(-13.0, 15.0);
    std::uniform_int_distribution<std::int64_t> decimal(0, 999'999'999'999'999);
    std::uniform_int_distribution<int> point(0, 28);
    int written = 0;
    constexpr int kValues = 300'000;
    for (int i = 0; i < kValues; ++i) {
        // Any value in the range, and short decimals and their products, as
        // results often are.
        const double anyValue = std::pow(10.0, decade(random));
        const double shortDecimal =
            static_cast<double>(decimal(random) % 100'000) / std::pow(10.0, point(random) % 6);
        written += WritesAsToChars(anyValue);
        WritesAsToChars(shortDecimal);
        WritesAsToChars(shortDecimal * 1.1 - 0.3);
        WritesAsToChars(-std::bit_cast<double>(random()));
    }
    EXPECT_EQ(written, kValues);
}

}  // namespace

#include "FifteenDigits.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

namespace {

constexpr int kDigits = 15;
constexpr std::uint64_t kLeastWhole = 100'000'000'000'000;     // 10^14
constexpr std::uint64_t kBeyondWhole = 1'000'000'000'000'000;  // 10^15
// The decimal exponents handled: 10^kLeastExponent <= |value| < 10^15. The
// scale 10^(14 - exponent) is then 5^k * 2^k with 5^k within 64 bits.
constexpr int kLeastExponent = -13;
constexpr int kMostExponent = kDigits - 1;
// From -4 on, "%g" writes a value without an exponent.
constexpr int kLeastFixedExponent = -4;

constexpr std::array<std::uint64_t, kMostExponent - kLeastExponent + 1> kPowersOfFive = [] {
    std::array<std::uint64_t, kMostExponent - kLeastExponent + 1> powers{};
    std::uint64_t power = 1;
    for (std::uint64_t& p : powers) {
        p = power;
        power *= 5;
    }
    return powers;
}();

// The products need 116 bits; the compilers this builds with have an
// integer that wide.
__extension__ typedef unsigned __int128 Wide;

constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[2 * i] = static_cast<char>('0' + i / 10);
        pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
}();

// mantissa * 2^binaryExponent * 10^scale, split at the point: the whole
// part, and how the rest compares with one half.
struct Scaled {
    std::uint64_t whole;
    int restAgainstHalf;  // -1 below, 0 exactly half, 1 above
};

Scaled Scale(std::uint64_t mantissa, int binaryExponent, int scale) {
    // The value times 10^scale is mantissa * 5^scale * 2^(binaryExponent +
    // scale): a product of at most 53 + 63 bits, shifted.
    const Wide product =
        static_cast<Wide>(mantissa) * kPowersOfFive[static_cast<std::size_t>(scale)];
    const int shift = -(binaryExponent + scale);
    if (shift <= 0)
        return {static_cast<std::uint64_t>(product << -shift), -1};
    const Wide rest = product & ((static_cast<Wide>(1) << shift) - 1);
    const Wide half = static_cast<Wide>(1) << (shift - 1);
    return {static_cast<std::uint64_t>(product >> shift), rest < half ? -1 : rest == half ? 0 : 1};
}

}  // namespace

char* WriteFifteenDigits(char* out, double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const bool negative = (bits >> 63) != 0;
    const int biasedExponent = static_cast<int>((bits >> 52) & 0x7ff);
    if (biasedExponent == 0 && (bits << 1) == 0) {
        if (negative)
            *out++ = '-';
        *out++ = '0';
        return out;
    }
    // Subnormals, infinities and NaNs lie outside the range anyway.
    if (biasedExponent == 0 || biasedExponent == 0x7ff)
        return nullptr;
    const std::uint64_t mantissa =
        (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int binaryExponent = biasedExponent - 1075;  // of the mantissa's last bit
    // floor(log10(2^e)) for the leading bit's power e; the decimal exponent
    // is that or one more.
    int exponent = ((biasedExponent - 1023) * 1233) >> 12;
    // Just below the least exponent, the value may still lie in the range:
    // the scale then tells.
    if (exponent == kLeastExponent - 1)
        exponent = kLeastExponent;
    if (exponent < kLeastExponent || exponent > kMostExponent)
        return nullptr;
    Scaled scaled = Scale(mantissa, binaryExponent, kMostExponent - exponent);
    if (scaled.whole < kLeastWhole)
        return nullptr;
    if (scaled.whole >= kBeyondWhole) {
        if (++exponent > kMostExponent)
            return nullptr;
        scaled = Scale(mantissa, binaryExponent, kMostExponent - exponent);
    }
    std::uint64_t whole = scaled.whole;
    if (scaled.restAgainstHalf > 0 || (scaled.restAgainstHalf == 0 && (whole & 1) != 0))
        ++whole;
    // Rounding up may carry into a sixteenth digit: 9.99...95 becomes 10.
    if (whole == kBeyondWhole) {
        whole = kLeastWhole;
        if (++exponent > kMostExponent)
            return nullptr;
    }

    char digits[kDigits];
    std::uint64_t left = whole;
    for (int at = kDigits - 1; at > 0; at -= 2) {
        std::memcpy(digits + at - 1, kDigitPairs.data() + 2 * (left % 100), 2);
        left /= 100;
    }
    digits[0] = static_cast<char>('0' + left);
    int significant = kDigits;
    while (digits[significant - 1] == '0')
        --significant;

    if (negative)
        *out++ = '-';
    if (exponent >= 0) {
        const int intDigits = exponent + 1;
        std::memcpy(out, digits, static_cast<std::size_t>(intDigits));
        out += intDigits;
        if (significant > intDigits) {
            *out++ = '.';
            std::memcpy(out, digits + intDigits, static_cast<std::size_t>(significant - intDigits));
            out += significant - intDigits;
        }
        return out;
    }
    if (exponent >= kLeastFixedExponent) {
        *out++ = '0';
        *out++ = '.';
        for (int zero = exponent + 1; zero < 0; ++zero)
            *out++ = '0';
        std::memcpy(out, digits, static_cast<std::size_t>(significant));
        return out + significant;
    }
    *out++ = digits[0];
    if (significant > 1) {
        *out++ = '.';
        std::memcpy(out, digits + 1, static_cast<std::size_t>(significant - 1));
        out += significant - 1;
    }
    *out++ = 'e';
    *out++ = '-';
    std::memcpy(out, kDigitPairs.data() + 2 * -exponent, 2);
    return out + 2;
}

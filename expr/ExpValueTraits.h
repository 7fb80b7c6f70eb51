#pragma once

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string_view>
#include <type_traits>

#include "AsciiChars.h"
#include "DecimalText.h"
#include "ExpException.h"

// What the evaluator's value type decides: how a number literal is read,
// when a divisor counts as zero, and which results are rejected. The program
// computes in double; the other types make the evaluator a generic component.
namespace ExpValue {

inline constexpr double kTolerance = 1e-10;

// Equal within 1e-10; a difference that is not a number counts as equal, so a
// NaN divisor is taken for zero.
template <class T>
bool TolerantEqual(T a, T b) {
    using std::abs;
    return !(abs(a - b) >= static_cast<T>(kTolerance));
}

// Rejects a value that is not a number or is infinite, clearing the
// floating-point status first.
template <class T>
T CheckFinite(T value) {
    if (std::isnan(value)) {
        std::feclearexcept(FE_ALL_EXCEPT);
        throw ExpException(EXP_ERR_NAN, 0);
    }
    if (std::isinf(value)) {
        std::feclearexcept(FE_ALL_EXCEPT);
        throw ExpException(EXP_ERR_INFINITE, 0);
    }
    return value;
}

// A literal read as an integer: the leading digits, saturated at the type's
// largest value (the literals the parser makes carry no sign).
template <class T>
T ReadLeadingDigits(std::string_view text) {
    constexpr T kMax = std::numeric_limits<T>::max();
    std::size_t i = 0;
    if (i == text.size() || !IsDigit(text[i]))
        throw ExpException(EXP_ERR_OPERAND, 0);
    T value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        const T digit = static_cast<T>(text[i] - '0');
        if (value > (kMax - digit) / 10)
            return kMax;
        value = static_cast<T>(value * 10 + digit);
    }
    return value;
}

// Integer arithmetic wraps around like the machine's registers instead of
// overflowing into undefined behaviour.
template <class T>
T Wrap(std::make_unsigned_t<T> bits) {
    return static_cast<T>(bits);
}

}  // namespace ExpValue

// The arithmetic of types whose operators round or are exact on their own.
template <class T>
struct ExpNativeArithmetic {
    static T Add(T a, T b) { return a + b; }
    static T Subtract(T a, T b) { return a - b; }
    static T Multiply(T a, T b) { return a * b; }
    static T Divide(T a, T b) { return a / b; }
    static T Negate(T a) { return -a; }
};

// Any type without a literal format of its own: literals are refused.
template <class T>
struct ExpValueTraits : ExpNativeArithmetic<T> {
    static constexpr bool kHasFunctions = false;
    static T ConvertLiteral(std::string_view) { throw ExpException(EXP_ERR_OPERAND, 0); }
    static bool IsEqual(T a, T b) { return ExpValue::TolerantEqual(a, b); }
    static T CheckResult(T value) { return value; }
    static T FromVariable(double value) { return static_cast<T>(value); }
    static T Power(T a, T b) {
        using std::pow;
        return pow(a, b);
    }
};

template <class T>
struct ExpFloatTraits : ExpNativeArithmetic<T> {
    // Built-in functions are computed in double.
    static constexpr bool kHasFunctions = true;
    static T ConvertLiteral(std::string_view text) {
        if constexpr (std::is_same_v<T, double>) {
            if (const std::optional<double> value = WholeDecimalToDouble(text))
                return *value;
        }
        const std::size_t length = ScanDecimal(text);
        if (length == 0)
            throw ExpException(EXP_ERR_OPERAND, 0);
        if constexpr (std::is_same_v<T, float>)
            return DecimalToFloat(text.substr(0, length));
        else
            return DecimalToDouble(text.substr(0, length));
    }
    static bool IsEqual(T a, T b) { return ExpValue::TolerantEqual(a, b); }
    static T CheckResult(T value) { return ExpValue::CheckFinite(value); }
    static T FromVariable(double value) { return static_cast<T>(value); }
    static T Power(T a, T b) { return std::pow(a, b); }
};

template <class T>
struct ExpIntegerTraits {
    using U = std::make_unsigned_t<T>;
    // The built-in functions exist for floating-point values only.
    static constexpr bool kHasFunctions = false;
    static T ConvertLiteral(std::string_view text) { return ExpValue::ReadLeadingDigits<T>(text); }
    static bool IsEqual(T a, T b) { return a == b; }
    static T CheckResult(T value) { return value; }
    // A variable's value truncated towards zero and held to the type's range
    // (a NaN becomes 0).
    static T FromVariable(double value) {
        if (std::isnan(value))
            return 0;
        if (value <= static_cast<double>(std::numeric_limits<T>::min()))
            return std::numeric_limits<T>::min();
        if (value >= static_cast<double>(std::numeric_limits<T>::max()))
            return std::numeric_limits<T>::max();
        return static_cast<T>(value);
    }
    static T Add(T a, T b) {
        return ExpValue::Wrap<T>(static_cast<U>(static_cast<U>(a) + static_cast<U>(b)));
    }
    static T Subtract(T a, T b) {
        return ExpValue::Wrap<T>(static_cast<U>(static_cast<U>(a) - static_cast<U>(b)));
    }
    static T Multiply(T a, T b) {
        return ExpValue::Wrap<T>(static_cast<U>(static_cast<U>(a) * static_cast<U>(b)));
    }
    static T Negate(T a) { return ExpValue::Wrap<T>(static_cast<U>(U{0} - static_cast<U>(a))); }
    // The divisor is never zero here: the zero test comes first.
    static T Divide(T a, T b) {
        if constexpr (std::is_signed_v<T>) {
            if (b == -1)
                return Negate(a);  // the smallest value divided by -1 wraps
        }
        return static_cast<T>(a / b);
    }
    // Exact integer power by squaring, wrapping like multiplication. A
    // negative exponent truncates 1 / a^n towards zero; 0 to a negative power
    // is a division by zero.
    static T Power(T a, T b) {
        if constexpr (std::is_signed_v<T>) {
            if (b < 0) {
                if (a == 0)
                    throw ExpException(EXP_ERR_DIVZERO, 0);
                if (a == 1)
                    return 1;
                if (a == -1)
                    return (b % 2 == 0) ? 1 : -1;
                return 0;
            }
        }
        U result = 1, base = static_cast<U>(a), exponent = static_cast<U>(b);
        while (exponent != 0) {
            if (exponent & 1U)
                result = static_cast<U>(result * base);
            base = static_cast<U>(base * base);
            exponent >>= 1;
        }
        return ExpValue::Wrap<T>(result);
    }
};

template <>
struct ExpValueTraits<double> : ExpFloatTraits<double> {};
template <>
struct ExpValueTraits<float> : ExpFloatTraits<float> {};
template <>
struct ExpValueTraits<int> : ExpIntegerTraits<int> {};
template <>
struct ExpValueTraits<unsigned int> : ExpIntegerTraits<unsigned int> {};
template <>
struct ExpValueTraits<long> : ExpIntegerTraits<long> {};
template <>
struct ExpValueTraits<unsigned long> : ExpIntegerTraits<unsigned long> {};
template <>
struct ExpValueTraits<long long> : ExpIntegerTraits<long long> {};
template <>
struct ExpValueTraits<unsigned long long> : ExpIntegerTraits<unsigned long long> {};

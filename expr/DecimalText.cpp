#include "DecimalText.h"

#include <locale.h>
#include <stdlib.h>

#include <charconv>
#include <cmath>
#include <string>

#include "AsciiChars.h"

namespace {

std::size_t SkipDigits(std::string_view text, std::size_t i) {
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    return i;
}

// The rare text out of double range: the C library's reader, in the "C"
// locale whatever the process uses, tells overflow (infinity) from underflow.
template <class T>
T ReadOutOfRange(std::string_view decimal) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", nullptr);
    const std::string copy(decimal);
    if constexpr (sizeof(T) == sizeof(float))
        return strtof_l(copy.c_str(), nullptr, cLocale);
    else
        return strtod_l(copy.c_str(), nullptr, cLocale);
}

template <class T>
T Convert(std::string_view decimal) {
    // from_chars takes no '+' sign.
    if (!decimal.empty() && decimal.front() == '+')
        decimal.remove_prefix(1);
    T value{};
    const auto [ptr, ec] = std::from_chars(decimal.data(), decimal.data() + decimal.size(), value,
                                           std::chars_format::general);
    (void)ptr;
    if (ec == std::errc::result_out_of_range)
        return ReadOutOfRange<T>(decimal);
    return value;
}

}  // namespace

std::size_t ScanDecimal(std::string_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const std::size_t intFrom = i;
    i = SkipDigits(text, i);
    std::size_t digits = i - intFrom;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fracFrom = i + 1;
        const std::size_t fracTo = SkipDigits(text, fracFrom);
        digits += fracTo - fracFrom;
        if (digits > 0)
            i = fracTo;
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            ++j;
        const std::size_t expTo = SkipDigits(text, j);
        if (expTo > j)
            i = expTo;
    }
    return i;
}

double DecimalToDouble(std::string_view decimal) {
    return Convert<double>(decimal);
}

std::optional<double> WholeDecimalToDouble(std::string_view text) {
    if (text.empty() || !(IsDigit(text[0]) || text[0] == '.'))
        return std::nullopt;
    double value = 0;
    const auto [ptr, ec] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (ec != std::errc() || ptr != text.data() + text.size())
        return std::nullopt;
    return value;
}
float DecimalToFloat(std::string_view decimal) {
    return Convert<float>(decimal);
}

std::optional<double> ReadVariableValue(std::string_view text) {
    std::size_t from = 0;
    // The white space the C library's number reader skips.
    while (from < text.size() && (text[from] == ' ' || (text[from] >= '\t' && text[from] <= '\r')))
        ++from;
    const std::string_view number = text.substr(from);
    if (number.empty() || ScanDecimal(number) != number.size())
        return std::nullopt;
    // A number beyond the largest double would make every computation that
    // uses it fail; it is refused here, where the user can still change it.
    const double value = DecimalToDouble(number);
    if (std::isinf(value))
        return std::nullopt;
    return value;
}

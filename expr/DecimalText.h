#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// Decimal numbers as a user writes them, read the same in every locale.

// Length of the longest prefix of `text` of the form
//   [sign] digits [ '.' [digits] ] [ ('e'|'E') [sign] digits ]   or
//   [sign] '.' digits [ ('e'|'E') [sign] digits ],
// with at least one mantissa digit; 0 when there is none. An 'e' that is not
// followed by exponent digits is not part of the number.
std::size_t ScanDecimal(std::string_view text);

// The double nearest to a text that ScanDecimal accepts whole. A magnitude
// beyond the largest double gives an infinity, one below the smallest
// subnormal gives zero.
double DecimalToDouble(std::string_view decimal);
// The double nearest to `text` when all of it is one decimal in double range
// that starts with a digit or '.', as the parser's literals do; none
// otherwise. The quick way for the common case: callers fall back to
// ScanDecimal and DecimalToDouble.
std::optional<double> WholeDecimalToDouble(std::string_view text);
float DecimalToFloat(std::string_view decimal);

// A variable's value as typed in the grid or given on the command line:
// optional leading white space, then one decimal number and nothing else,
// within the range of a double (one too small to tell from zero is zero).
// Infinities, NaNs and hexadecimal forms are not numbers a user types.
std::optional<double> ReadVariableValue(std::string_view text);

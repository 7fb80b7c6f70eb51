#pragma once

// A value with 15 significant digits, as
//   std::to_chars(out, out + 24, value, std::chars_format::general, 15)
// writes it ("%.15g"), by a quicker way for the values results mostly have:
// finite, and zero or of magnitude 1e-13 up to 1e15. The digits come from
// the value's exact binary fraction scaled in 128-bit integers, rounded half
// to even as to_chars rounds; the text is to_chars' byte for byte.
//
// Returns the end of what was written (at most 22 bytes), or nullptr,
// having written nothing, for a value outside that range.
char* WriteFifteenDigits(char* out, double value);

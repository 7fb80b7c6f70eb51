#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The engine works in UTF-8. Code page 936 (GBK) is left with two jobs: it
// measures the excerpt of an error message, and it is the encoding of a
// GBK/GB18030 console. None of the conversions fails: text that has no form
// in the target becomes a marker, so a message is always shown, if
// imperfectly.

// The bytes code page 936 writes the character at the start of `utf8` in:
// 1 for ASCII, 2 for a character it has, and 1 for any other (it used to be
// written as one '?'). The euro sign counts as lacking: its lone byte 0x80
// would not read back as a character.
std::size_t CodePage936Width(std::string_view utf8Character);

// The text with every byte that does not begin a well-formed UTF-8 sequence
// (and every byte of a sequence cut short) replaced by one '?'.
std::string ValidUtf8(std::string_view text);

// Between the encoding of the current locale (as set by setlocale) and
// UTF-8. The C/POSIX locale counts as UTF-8. LocaleToUtf8 always gives valid
// UTF-8: a byte that is not valid in the locale's encoding becomes '?';
// characters the locale's encoding lacks become '?' on the way out.
std::string LocaleToUtf8(std::string_view text);
std::string Utf8ToLocale(std::string_view utf8);

// Whether every byte is below 0x80: such text is the same in all of the
// encodings above.
bool IsAscii(std::string_view text);

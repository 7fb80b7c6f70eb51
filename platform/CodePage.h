#pragma once

#include <string>
#include <string_view>

// Conversions between the code page 936 (GBK) bytes the engine works in,
// UTF-8, and the encoding of the current locale. None of them fails: text
// that has no form in the target becomes a marker, so a message is always
// shown, if imperfectly.

// Every character without a code page 936 form, and every byte that is not
// part of a valid UTF-8 sequence, becomes one '?'. The euro sign counts as
// having no form: its single byte 0x80 would not read back as a character.
std::string Utf8ToCodePage936(std::string_view utf8);

// Read left to right: a byte below 0x80 is that ASCII character; a byte of
// 0x80 or more that forms a valid double-byte character with the next byte
// gives that character; any other byte becomes U+FFFD and reading goes on
// with the next byte. An excerpt cut out of the middle of a text therefore
// loses at most the characters it cuts.
std::string CodePage936ToUtf8(std::string_view bytes);

// Between the encoding of the current locale (as set by setlocale) and
// UTF-8. The C/POSIX locale counts as UTF-8. Bytes that are not valid in the
// locale's encoding become U+FFFD; characters the locale's encoding lacks
// become '?'.
std::string LocaleToUtf8(std::string_view text);
std::string Utf8ToLocale(std::string_view utf8);

// Whether every byte is below 0x80: such text is the same in all of the
// encodings above.
bool IsAscii(std::string_view text);

#pragma once

#include <cstddef>
#include <string_view>

// The length of the well-formed UTF-8 sequence at the start of `text`, or 0
// when the first byte does not begin one (a stray continuation byte, an
// overlong form, a surrogate, a code point above U+10FFFF, or a sequence cut
// short).
std::size_t Utf8SequenceLength(std::string_view text);

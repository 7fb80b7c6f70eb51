#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// The character classes of the expression language and of the command
// line. They are ASCII ranges on purpose: a byte of a double-byte character
// is never a digit or a letter, whatever the process locale says.

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

namespace AsciiClass {

// A byte's classes, looked up at once: the parser asks of every character
// of every name.
enum Class : unsigned char { kLetter = 1, kNameChar = 2 };
inline constexpr std::array<unsigned char, 256> kClasses = [] {
    std::array<unsigned char, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        classes[static_cast<std::size_t>(c)] = static_cast<unsigned char>(
            (letter ? kLetter : 0) |
            (letter || (c >= '0' && c <= '9') || c == '_' ? kNameChar : 0));
    }
    return classes;
}();

}  // namespace AsciiClass

constexpr bool IsLetter(char c) {
    return (AsciiClass::kClasses[static_cast<unsigned char>(c)] & AsciiClass::kLetter) != 0;
}

// A letter, a digit or '_': what continues a name.
constexpr bool IsNameChar(char c) {
    return (AsciiClass::kClasses[static_cast<unsigned char>(c)] & AsciiClass::kNameChar) != 0;
}

// Where the name of a call that starts at `nameStart` in `text` ends: at
// the '(' that follows it.
inline std::size_t NameEnd(std::string_view text, std::size_t nameStart) {
    std::size_t at = nameStart + 1;
    while (IsNameChar(text[at]))
        ++at;
    return at;
}

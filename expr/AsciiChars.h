#pragma once

// The character classes of the expression language and of the command
// line. They are ASCII ranges on purpose: a byte of a double-byte character
// is never a digit or a letter, whatever the process locale says.

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// A letter, a digit or '_': what continues a name.
constexpr bool IsNameChar(char c) {
    return IsLetter(c) || IsDigit(c) || c == '_';
}

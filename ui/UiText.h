#pragma once

#include <QString>
#include <string>
#include <string_view>

// The engine speaks code page 936; Qt speaks UTF-16. Texts cross here and
// nowhere else.

QString FromCodePage(std::string_view bytes);
std::string ToCodePage(const QString& text);

// The index in `text`'s UTF-16 units of the character that begins at byte
// `offset` of its code page form, or the text's length past the end. The
// caret of the expression box lands there after an error.
int CharIndexOfByte(const QString& text, std::size_t offset);

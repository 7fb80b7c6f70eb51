#pragma once

#include <QString>
#include <string>
#include <string_view>

// Texts cross between Qt's UTF-16 and the engine's UTF-8 here and nowhere
// else.

QString FromEngineText(std::string_view bytes);
std::string ToEngineText(const QString& text);

// The index in `text`'s UTF-16 units of the character that begins at byte
// `offset` of its UTF-8 form, or the text's length past the end. The caret
// of the expression box lands there after an error.
int CharIndexOfByte(const QString& text, std::size_t offset);

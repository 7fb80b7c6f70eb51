#pragma once

#include <QString>

// A pinyin input method in Chinese mode types the full-width forms of ASCII
// characters: "（" for "(", "＋" for "+", "１" for "1", and the ideographic
// space for a blank. The engine reads ASCII only, so every box that takes an
// expression, a variable's name or its value turns them into the ASCII
// characters they stand for as they arrive (typed, pasted, dropped or
// committed by an input method).

// `text` with U+FF01..U+FF5E replaced by U+0021..U+007E and U+3000 by a
// space; every other character is kept. The length never changes, so a
// position in the result is the same position in `text`.
QString ToAsciiForms(QString text);

#pragma once

#include <QString>

// A pinyin input method in Chinese mode types the full-width forms of ASCII
// characters: "（" for "(", "＋" for "+", "１" for "1", and the ideographic
// space for a blank. For a few keys it types punctuation of its own: "……"
// for Shift+6 ("^"), "——" for Shift+- ("_") and "。" for "." where the full
// stop does not follow a digit (".5"). The engine reads ASCII only, so every
// box that takes an expression, a variable's name or its value turns them
// into the ASCII characters they stand for as they arrive (typed, pasted,
// dropped or committed by an input method).

// `text` with U+FF01..U+FF5E replaced by U+0021..U+007E, U+3000 by a space,
// "。" by ".", and "……" and "——" by "^" and "_"; every other character is
// kept (a lone "…" or "—" is no key's stand-in).
QString ToAsciiForms(QString text);
// The same, with `position`, a place in `text`, moved to the same place in
// the result, which a pair made one character shorter.
QString ToAsciiForms(QString text, int& position);

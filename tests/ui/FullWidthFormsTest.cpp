// What a pinyin input method types in Chinese mode reaches the engine as
// ASCII.
#include <gtest/gtest.h>

#include "FullWidthForms.h"

namespace {

TEST(FullWidthFormsTest, FullWidthFormsBecomeTheirAsciiCharacters) {
    const struct {
        QString typed;
        QString expected;
        int position = 0;  // a place in `typed`, and where it ends up
        int movedTo = 0;
    } cases[] = {
        {"（１＋２）＊３", "(1+2)*3", 3, 3},
        {"ｓｉｎ（０．５，　２）／４＾２－１", "sin(0.5, 2)/4^2-1"},
        {"！～", "!~"},  // both ends of the range
        // Shift+6, Shift+- and a full stop after no digit, in pinyin's own
        // punctuation.
        {"2……3", "2^3", 3, 2},
        {"。5＋ａ——1", ".5+a_1", 6, 5},
        {"2………3", "2^…3", 2, 2},  // the pair inside, as it was typed
        {"…—", "…—", 2, 2},       // alone, no key's stand-in
        {"中文，１", "中文,1"},   // other characters are kept
        {"\U0001F600１",
         "\U0001F600"
         "1"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToAsciiForms(c.typed), c.expected) << c.typed.toStdString();
        int position = c.position;
        EXPECT_EQ(ToAsciiForms(c.typed, position), c.expected);
        EXPECT_EQ(position, c.movedTo) << c.typed.toStdString();
    }
}

}  // namespace

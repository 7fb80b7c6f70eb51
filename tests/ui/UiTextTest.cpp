// Texts between Qt and the engine's code page.
#include <gtest/gtest.h>

#include "UiText.h"

namespace {

TEST(UiTextTest, TextsCrossToTheCodePageAndBackUnchanged) {
    for (const QString& text :
         {QString("1+2*(3-x_1)"), QString("在以下位置发生"), QString("　　x∈[-1, 1]"), QString()}) {
        EXPECT_EQ(FromCodePage(ToCodePage(text)), text) << text.toStdString();
    }
    EXPECT_EQ(ToCodePage("中"), "\xD6\xD0");
    // A character the code page lacks arrives as one question mark.
    EXPECT_EQ(ToCodePage("1+\u20AC"), "1+?");
}

TEST(UiTextTest, AByteOffsetMapsToTheCharacterThatBeginsThere) {
    const QString text = "中文+*2";  // bytes: D6 D0 CE C4 '+' '*' '2'
    EXPECT_EQ(CharIndexOfByte(text, 0), 0);
    EXPECT_EQ(CharIndexOfByte(text, 2), 1);
    EXPECT_EQ(CharIndexOfByte(text, 4), 2);
    EXPECT_EQ(CharIndexOfByte(text, 5), 3);
    EXPECT_EQ(CharIndexOfByte(text, 7), 5);
    EXPECT_EQ(CharIndexOfByte(text, 99), 5);  // past the end: the end
    // A character outside the code page counts as its one '?' byte.
    EXPECT_EQ(CharIndexOfByte("\U0001F600+*", 2), 3);
}

}  // namespace

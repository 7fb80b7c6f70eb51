// Texts between Qt and the engine's UTF-8.
#include <gtest/gtest.h>

#include "UiText.h"

namespace {

TEST(UiTextTest, TextsCrossToUtf8AndBackUnchanged) {
    for (const QString& text : {QString("1+2*(3-x_1)"), QString("在以下位置发生"),
                                QString("　　x∈[-1, 1] €😀"), QString()}) {
        EXPECT_EQ(FromEngineText(ToEngineText(text)), text) << text.toStdString();
    }
    EXPECT_EQ(ToEngineText("中"), "\xE4\xB8\xAD");
}

TEST(UiTextTest, AByteOffsetMapsToTheCharacterThatBeginsThere) {
    const QString text = "中😀+2";  // bytes: 3 + 4 + 1 + 1; UTF-16 units 1 + 2 + 1 + 1
    const std::pair<std::size_t, int> cases[] = {
        {0, 0}, {1, 1}, {3, 1}, {4, 3}, {7, 3}, {8, 4}, {9, 5}, {99, 5},
    };
    for (const auto& [offset, index] : cases)
        EXPECT_EQ(CharIndexOfByte(text, offset), index) << offset;
}

}  // namespace

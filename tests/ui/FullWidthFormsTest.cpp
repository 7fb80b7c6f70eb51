// What a pinyin input method types in Chinese mode reaches the engine as
// ASCII.
#include <gtest/gtest.h>

#include "FullWidthForms.h"

namespace {

TEST(FullWidthFormsTest, FullWidthFormsBecomeTheirAsciiCharacters) {
    const struct {
        QString typed;
        QString expected;
    } cases[] = {
        {"（１＋２）＊３", "(1+2)*3"},
        {"ｓｉｎ（０．５，　２）／４＾２－１", "sin(0.5, 2)/4^2-1"},
        {"！～", "!~"},              // both ends of the range
        {"中文，。１", "中文,。1"},  // other characters are kept, "。" included
        {"\U0001F600１",
         "\U0001F600"
         "1"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ToAsciiForms(c.typed), c.expected) << c.typed.toStdString();
}

}  // namespace

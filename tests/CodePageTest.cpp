// Code page 936 widths, and conversions between UTF-8 and the locale's
// encoding.

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "CodePage.h"

namespace {

TEST(CodePage, WidthIsTwoOnlyForADoubleByteCharacter) {
    struct Case {
        std::string character;
        std::size_t width;
    };
    const Case cases[] = {
        {"a", 1},
        {"变", 2},
        {"。", 2},
        {"亐", 2},                // 81 80: 0x80 trails
        {"丂", 2},                // 81 40: an ASCII-range trail byte
        {"😀", 1},                 // outside the code page
        {"㐀", 1},                // CJK extension A, outside GBK
        {"€", 1},                 // a lone 0x80 would read back as no character
        {"\xF3\xA0\x81\x81", 1},  // a tag character, which iconv would drop
        {"\xE5\x8F", 1},          // cut short
        {"\x80", 1},              // no character at all
        {"变量", 2},              // only the first character counts
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.character));
        EXPECT_EQ(CodePage936Width(c.character), c.width);
    }
}

TEST(CodePage, InvalidUtf8CostsOneQuestionMarkPerByte) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"1+变😀", "1+变😀"},
        {"\x80", "?"},  // stray continuation byte
        {"\xE5\x8F"
         "A",
         "??A"},                       // sequence cut short
        {"\xC0\xAF", "??"},            // overlong '/'
        {"\xED\xA0\x80", "???"},       // surrogate
        {"\xF4\x90\x80\x80", "????"},  // above U+10FFFF
        {"\xE5\x8F\x98\x80", "变?"},   // 变, then a stray byte
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(ValidUtf8(c.text), c.expected);
    }
}

TEST(CodePage, AsciiPassesUnchangedBothWays) {
    std::string ascii;
    for (int c = 0; c < 0x80; ++c)
        ascii += static_cast<char>(c);
    EXPECT_TRUE(IsAscii(ascii));
    EXPECT_FALSE(IsAscii("abc\x80"));
    EXPECT_EQ(LocaleToUtf8(ascii), ascii);
    EXPECT_EQ(Utf8ToLocale(ascii), ascii);
}

// Switches the process's locale for the length of a test.
class ScopedLocale {
  public:
    explicit ScopedLocale(const char* name) : m_previous(std::setlocale(LC_ALL, nullptr)) {
        m_active = std::setlocale(LC_ALL, name) != nullptr;
    }
    ~ScopedLocale() { std::setlocale(LC_ALL, m_previous.c_str()); }
    bool Active() const { return m_active; }

  private:
    std::string m_previous;
    bool m_active = false;
};

TEST(CodePage, Utf8AndCLocalesPassTextThrough) {
    for (const char* name : {"C", "C.UTF-8"}) {
        SCOPED_TRACE(name);
        const ScopedLocale locale(name);
        ASSERT_TRUE(locale.Active());
        const std::string text = "变😀";
        EXPECT_EQ(LocaleToUtf8(text), text);
        EXPECT_EQ(Utf8ToLocale(text), text);
        // The engine receives valid UTF-8 only.
        EXPECT_EQ(LocaleToUtf8("变\xff"), "变?");
    }
}

TEST(CodePage, Gb18030LocaleConvertsBothWays) {
    const ScopedLocale locale("zh_CN.GB18030");
    if (!locale.Active())
        GTEST_SKIP() << "locale zh_CN.GB18030 is missing; scripts/setup.sh generates it";
    EXPECT_EQ(LocaleToUtf8("1+\xb1\xe4"), "1+变");
    EXPECT_EQ(Utf8ToLocale("1+变"), "1+\xb1\xe4");
    // GB18030 has every character, 㐀 in four bytes.
    EXPECT_EQ(Utf8ToLocale("㐀"), "\x81\x39\xEE\x39");
    EXPECT_EQ(LocaleToUtf8("\x81\x39\xEE\x39"), "㐀");
    // Bytes that are no GB18030 character cost one '?' each.
    EXPECT_EQ(LocaleToUtf8("a\xff"
                           "b"),
              "a?b");
    EXPECT_EQ(LocaleToUtf8("a\xb1"), "a?");
    // Invalid UTF-8 going out becomes '?'.
    EXPECT_EQ(Utf8ToLocale("\xE5\x8F"
                           "x变"),
              "??x\xb1\xe4");
}

TEST(CodePage, ConvertersFollowALocaleChange) {
    {
        const ScopedLocale locale("zh_CN.GB18030");
        if (!locale.Active())
            GTEST_SKIP() << "locale zh_CN.GB18030 is missing; scripts/setup.sh generates it";
        EXPECT_EQ(Utf8ToLocale("变"), "\xb1\xe4");
    }
    const ScopedLocale utf8("C.UTF-8");
    EXPECT_EQ(Utf8ToLocale("变"), "变");
}

}  // namespace
